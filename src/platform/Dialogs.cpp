#include "platform/Dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace corvane {

QString displayText(const QString& text) {
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return out;
}

MsgAnswer QtDialogs::message(QWidget* parent, const QString& title, const QString& text, MsgButtons buttons,
                             MsgIcon icon) {
    QMessageBox box(parent);
    box.setWindowTitle(title);
    box.setText(displayText(text));
    switch (icon) {
    case MsgIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case MsgIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MsgIcon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case MsgIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case MsgIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    }
    switch (buttons) {
    case MsgButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MsgButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MsgButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    }
    const int result = box.exec();
    switch (result) {
    case QMessageBox::Cancel:
        return MsgAnswer::Cancel;
    case QMessageBox::Yes:
        return MsgAnswer::Yes;
    case QMessageBox::No:
        return MsgAnswer::No;
    default:
        return buttons == MsgButtons::YesNo ? MsgAnswer::No : MsgAnswer::Ok;
    }
}

std::optional<QString> QtDialogs::input(QWidget* parent, const QString& title, const QString& prompt,
                                        const QString& defaultAnswer) {
    QInputDialog dialog(parent);
    dialog.setWindowTitle(title);
    dialog.setLabelText(displayText(prompt));
    dialog.setTextValue(defaultAnswer);
    dialog.setInputMode(QInputDialog::TextInput);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.textValue();
}

std::optional<QString> QtDialogs::openFile(QWidget* parent, const QString& title, const QString& startPath,
                                           const QString& filter) {
    const QString path = QFileDialog::getOpenFileName(parent, title, startPath, filter);
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return path;
}

std::optional<QString> QtDialogs::saveFile(QWidget* parent, const QString& title, const QString& proposedPath,
                                           const QString& filter) {
    // QFileDialog asks before overwriting an existing file.
    const QString path = QFileDialog::getSaveFileName(parent, title, proposedPath, filter);
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return path;
}

std::optional<long> QtDialogs::chooseColour(QWidget* parent, long initialBgr) {
    const QColor initial(static_cast<int>(initialBgr & 0xFF), static_cast<int>((initialBgr >> 8) & 0xFF),
                         static_cast<int>((initialBgr >> 16) & 0xFF));
    const QColor chosen = QColorDialog::getColor(initial, parent);
    if (!chosen.isValid()) {
        return std::nullopt;
    }
    return static_cast<long>(chosen.red()) | (static_cast<long>(chosen.green()) << 8) |
           (static_cast<long>(chosen.blue()) << 16);
}

void QtDialogs::beep() {
    QApplication::beep();
}

} // namespace corvane
