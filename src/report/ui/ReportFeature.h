#pragma once
// File > Contest Report...: the report page of the log, written where the operator chooses
// (beside the log at first) and opened in the desktop's browser. The page is made and
// written on a worker thread, so the window never waits for it; the menu item rests until
// it is done.

#include "core/DurableFile.h"
#include "ui/Feature.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <thread>

class QAction;

namespace corvane {

class ReportFeature final : public QObject, public Feature {
    Q_OBJECT
public:
    // Shows a written page; false when no browser could be started.
    using PageOpener = std::function<bool(const QString& path)>;

    explicit ReportFeature(FeatureContext& context, PageOpener opener = openInDesktopBrowser);
    ~ReportFeature() override;

    void addMenus(MainMenus& menus) override;
    void shutdown() override;

    // Asks where to write the report, then makes and writes it.
    void writeReport();
    bool busy() const { return m_worker.joinable() && !m_done; }

    static bool openInDesktopBrowser(const QString& path);

signals:
    // The report was written (and shown) or could not be; after the operator was told.
    void finished(bool written);

private:
    void workDone(const QString& path, const FileResult& result);

    FeatureContext& m_ctx;
    PageOpener m_open;
    QPointer<QAction> m_action;
    std::thread m_worker;
    bool m_done = true;
};

} // namespace corvane
