#pragma once
// Small helpers the windows share: 8-bit text between the files and the controls, labels
// placed at their design position, and painted backgrounds.

#include "ui/FormScaler.h"

#include <QColor>
#include <QString>
#include <string>

class QLabel;
class QWidget;

namespace corvane {

inline QString fromLatin1(const std::string& s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}
inline std::string toLatin1(const QString& s) {
    return s.toLatin1().toStdString();
}

// A label at its design place (twips) with its design font size in points.
QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const TwipRect& at, double font,
                  bool bold = false);
// What a screen reader reads for a control: its name, and what it is for or what goes in it.
void nameControl(QWidget* control, const QString& name, const QString& description);
// Paints the widget's background (and its text colour, when given).
void paint(QWidget* widget, const QColor& background, const QColor& text = QColor());

} // namespace corvane
