#include "log/ui/HelpWindow.h"

#include "core/DurableFile.h"
#include "ui/FormScaler.h"

#include <QPlainTextEdit>
#include <QPushButton>

namespace corvane {

HelpWindow::HelpWindow(const std::string& helpFilePath, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Help Page"));
    setModal(true);
    auto* text = new QPlainTextEdit(this);
    text->setObjectName(QStringLiteral("txtHelp"));
    text->setReadOnly(true);
    text->setAccessibleName(QStringLiteral("Help"));
    text->setAccessibleDescription(QStringLiteral("The program's help text."));
    FormScaler::place(text, {120, 120, 7960, 5000}, 8.25);
    // A missing help file leaves the box empty.
    if (const auto bytes = readWholeFile(helpFilePath)) {
        text->setPlainText(QString::fromLatin1(bytes->data(), static_cast<qsizetype>(bytes->size())));
    }
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("cmdClose"));
    FormScaler::place(close, {3500, 5280, 1200, 420}, 8.25);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    FormScaler::scale(this, ScaleVariant::ScreenUncapped, {0, 0, 8200, 6200});
    close->setFocus();
}

} // namespace corvane
