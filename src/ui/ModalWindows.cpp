#include "ui/ModalWindows.h"

#include "ui/AppContext.h"

#include <QDialog>

namespace corvane {

void runModal(const AppContext& context, QDialog& dialog) {
    if (context.runModal) {
        context.runModal(dialog);
        return;
    }
    dialog.exec();
}

} // namespace corvane
