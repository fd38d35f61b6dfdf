#include "graph/ui/GraphFeature.h"

#include "graph/ui/GraphWindow.h"
#include "log/Session.h"
#include "ui/AppContext.h"
#include "ui/ModalWindows.h"

namespace corvane {

void GraphFeature::addMenus(MainMenus& menus) {
    menus.add(MenuPlace::MenuBar, QStringLiteral("&Graph"), "mnuGraph", m_ctx.mainWindow, [this] { showGraph(); });
}

void GraphFeature::showGraph() {
    GraphWindow window(m_ctx.app.dialogs, m_ctx.session.log(), m_ctx.mainWindow);
    runModal(m_ctx.app, window);
}

} // namespace corvane
