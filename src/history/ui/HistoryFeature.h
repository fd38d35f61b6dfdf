#pragma once
// The call history in the main window. Beside the grid field a hint shows, while a call is
// typed, the grid the history knows for it with the distance and the points it would give,
// in violet italics that say "from history, not received" (a screen reader hears it so); the
// grid field itself is never filled. After a contact is logged with another grid than the
// history knows, the message line says so. File > Load Call History... adds a call history
// file, a log or an ADIF file. The history is read on a worker thread once the main window
// is up (CallHistory.txt of the working or per-user data folder, and the logs in BACKUP), so
// the window never waits for it. It also tells the spot windows what each spot is worth.

#include "history/HistorySources.h"
#include "history/HistoryWorth.h"
#include "ui/Feature.h"

#include <QLabel>
#include <QObject>
#include <QPointer>
#include <memory>
#include <string>
#include <thread>

class QAction;

namespace corvane::history {

class HistoryFeature final : public QObject, public Feature {
    Q_OBJECT
public:
    static constexpr const char* kLoadTitle = "Load Call History";

    explicit HistoryFeature(FeatureContext& context);
    ~HistoryFeature() override;

    void addMenus(MainMenus& menus) override;
    bool load() override;
    void entryModeChanged() override;
    void callTextChanged(const std::string& call) override;
    void contactLogged(const QsoRecord& record) override;
    void logReloaded() override;
    void shutdown() override;

    // File > Load Call History...: asks for a file and adds what it holds.
    void chooseAndLoad();
    // Adds the file (a call history, a log, or ADIF by its name) on the worker thread.
    void loadFile(const std::string& path);

    bool loading() const { return m_reader.joinable(); }
    const HistoryWorth& worth() const { return m_worth; }
    QLabel* hint() const { return m_hint; }
    // What the last load read, for the operator.
    const std::string& lastLoadText() const { return m_lastLoadText; }

signals:
    // A load has finished and its history answers from now on.
    void loaded();

private:
    void start(HistorySources sources, bool chosen);
    void arrived(std::shared_ptr<const CallHistory> history, const HistoryLoad& load, bool chosen);
    void showHint(const std::string& call);
    void refreshStation();
    void placeHint();

    FeatureContext& m_ctx;
    HistoryWorth m_worth;
    QPointer<QLabel> m_caption;
    QPointer<QLabel> m_hint;
    QAction* m_loadAction = nullptr;
    std::thread m_reader;
    std::string m_lastLoadText;
};

} // namespace corvane::history
