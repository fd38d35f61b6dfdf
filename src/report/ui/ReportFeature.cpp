#include "report/ui/ReportFeature.h"

#include "export/Cabrillo.h"
#include "log/Session.h"
#include "platform/Dialogs.h"
#include "report/Coastlines.h"
#include "report/ReportHtml.h"
#include "ui/AppContext.h"

#include <QAction>
#include <QDesktopServices>
#include <QMetaObject>
#include <QUrl>
#include <cstdlib>

namespace corvane {

namespace {

constexpr const char* kDialogTitle = "Contest Report";

} // namespace

ReportFeature::ReportFeature(FeatureContext& context, PageOpener opener) : m_ctx(context), m_open(std::move(opener)) {}

ReportFeature::~ReportFeature() {
    shutdown();
}

bool ReportFeature::openInDesktopBrowser(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void ReportFeature::addMenus(MainMenus& menus) {
    // With the other files made from the log, after the clipboard copy.
    QAction& action = menus.add(MenuPlace::FileCopies, QStringLiteral("Contest Re&port…"), "mnuReport", this,
                                [this] { writeReport(); });
    action.setStatusTip(QStringLiteral("Write the contest report page and open it in the browser"));
    m_action = &action;
}

void ReportFeature::writeReport() {
    if (busy()) {
        return;
    }
    const QString proposed = QString::fromStdString(m_ctx.app.workingFile(std::string(kReportFileName)));
    const auto chosen = m_ctx.app.dialogs.saveFile(m_ctx.mainWindow, QString::fromLatin1(kDialogTitle), proposed,
                                                   QStringLiteral("HTML Files (*.html)"));
    if (!chosen || chosen->isEmpty()) {
        return;
    }
    if (m_worker.joinable()) {
        m_worker.join();
    }
    if (m_action) {
        m_action->setEnabled(false);
    }
    m_done = false;
    QPointer<ReportFeature> self(this);
    // The worker gets its own copies: the log may change while it writes.
    m_worker = std::thread([self, path = *chosen, log = m_ctx.session.log(), prefs = m_ctx.session.prefs()] {
        const char* dataDir = std::getenv("CORVANE_DATA_DIR");
        const CoastlineLoad coast =
            loadCoastlines(findCoastlineFile(dataDir != nullptr ? dataDir : "", programFolder()));
        const ContestReport report = makeContestReport(log, prefs, coast, kProgramTitle);
        const FileResult result = writeReportFile(path.toStdString(), report.html);
        QMetaObject::invokeMethod(
            self.data(),
            [self, path, result] {
                if (self) {
                    self->workDone(path, result);
                }
            },
            Qt::QueuedConnection);
    });
}

void ReportFeature::workDone(const QString& path, const FileResult& result) {
    m_done = true;
    if (m_worker.joinable()) {
        m_worker.join();
    }
    if (m_action) {
        m_action->setEnabled(true);
    }
    if (!result.ok) {
        m_ctx.app.dialogs.beep();
        m_ctx.app.dialogs.message(m_ctx.mainWindow, QString::fromLatin1(exchange::cabrillo::kFailedTitle.data()),
                                  path + QStringLiteral(":\r\n") + QString::fromStdString(result.error), MsgButtons::Ok,
                                  MsgIcon::Critical);
        emit finished(false);
        return;
    }
    if (!m_open(path)) {
        m_ctx.app.dialogs.message(m_ctx.mainWindow, QString::fromLatin1(kDialogTitle),
                                  QStringLiteral("The report was written to:\r\n\r\n%1\r\n\r\nNo browser could be "
                                                 "started to show it; open the file with any web browser.")
                                      .arg(path),
                                  MsgButtons::Ok, MsgIcon::Information);
    }
    emit finished(true);
}

void ReportFeature::shutdown() {
    if (m_worker.joinable()) {
        m_worker.join();
    }
}

} // namespace corvane
