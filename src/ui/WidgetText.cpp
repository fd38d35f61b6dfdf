#include "ui/WidgetText.h"

#include <QLabel>

namespace corvane {

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const TwipRect& at, double font, bool bold) {
    auto* label = new QLabel(text, parent);
    if (name) {
        label->setObjectName(QString::fromLatin1(name));
    }
    FormScaler::place(label, at, font);
    if (bold) {
        QFont f = label->font();
        f.setBold(true);
        label->setFont(f);
    }
    return label;
}

void paint(QWidget* widget, const QColor& background, const QColor& text) {
    QPalette p = widget->palette();
    p.setColor(QPalette::Window, background);
    if (text.isValid()) {
        p.setColor(QPalette::WindowText, text);
    }
    widget->setAutoFillBackground(true);
    widget->setPalette(p);
}

void nameControl(QWidget* control, const QString& name, const QString& description) {
    control->setAccessibleName(name);
    control->setAccessibleDescription(description);
}

} // namespace corvane
