#include "ui/Feature.h"

#include <QMenu>
#include <QMenuBar>

namespace corvane {

QMenu* findMenu(QMenuBar* menuBar, const char* objectName) {
    return menuBar == nullptr ? nullptr : menuBar->findChild<QMenu*>(QString::fromLatin1(objectName));
}

} // namespace corvane
