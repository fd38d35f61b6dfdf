#pragma once
// The known-calls line of the main window: while a call is typed (from its second character)
// it shows the calls of MASTER.SCP that contain the typed text, those already in the log in
// red. MASTER.SCP is looked for in the working folder, then in the per-user data folder, and
// read on a worker thread once the main window loads, so start-up never waits for it. Without
// the file the line stays empty.

#include "scp/MasterScp.h"
#include "ui/Feature.h"

#include <QLabel>
#include <QObject>
#include <QPointer>
#include <memory>
#include <string>
#include <thread>

namespace corvane::scp {

class ScpFeature final : public QObject, public Feature {
    Q_OBJECT
public:
    explicit ScpFeature(FeatureContext& context);
    ~ScpFeature() override;

    bool load() override;
    void callTextChanged(const std::string& call) override;
    void contactLogged(const QsoRecord& record) override;
    void shutdown() override;

    // Where MASTER.SCP was found ("" when it was not), and what it held once read.
    const std::string& filePath() const { return m_path; }
    bool loaded() const { return m_index != nullptr; }
    std::size_t knownCalls() const { return m_index ? m_index->size() : 0; }
    QLabel* line() const { return m_line; }

signals:
    // The file has been read (or was not there); the line answers from now on.
    void ready();

private:
    void indexArrived(std::shared_ptr<const ScpIndex> index, int skippedLines);
    void show(const std::string& call);

    FeatureContext& m_ctx;
    QPointer<QLabel> m_line;
    std::string m_path;
    std::shared_ptr<const ScpIndex> m_index;
    std::thread m_reader;
    bool m_ready = false;
};

} // namespace corvane::scp
