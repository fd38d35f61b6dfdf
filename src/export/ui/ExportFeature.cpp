#include "export/ui/ExportFeature.h"

#include "export/ui/CabrilloWindow.h"
#include "export/ui/ExportActions.h"
#include "log/Session.h"
#include "ui/AppContext.h"
#include "ui/ModalWindows.h"

namespace corvane {

void ExportFeature::addMenus(MainMenus& menus) {
    menus.add(MenuPlace::FileExchange, QStringLiteral("&Write Cabrillo File"), "mnuCabrillo", m_ctx.mainWindow,
              [this] { writeCabrillo(); });
    menus.add(MenuPlace::FileExchange, QStringLiteral("Export &ADIF Format"), "mnuAdif", m_ctx.mainWindow,
              [this] { exportAdif(); });
}

void ExportFeature::writeCabrillo() {
    AppContext& app = m_ctx.app;
    CabrilloWindow window(app.dialogs, app.settings, app.sharedPrefs, m_ctx.session.log(), m_ctx.session.prefs(),
                          QString::fromStdString(m_ctx.logView.totalScoreText()),
                          QString::fromStdString(app.folders.userDataFolder), m_ctx.mainWindow);
    runModal(app, window);
}

void ExportFeature::exportAdif() {
    AppContext& app = m_ctx.app;
    corvane::exportAdif(app.dialogs, app.clock, m_ctx.session.log(), QString::fromStdString(app.folders.userDataFolder),
                        m_ctx.mainWindow);
}

} // namespace corvane
