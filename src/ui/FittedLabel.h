#pragma once
// A one-line label that never cuts its text: a text too long for one line wraps onto a
// second, and the font steps down (to no less than half its size) until the text
// fits the label's box. The size the window gives the font stays the size it returns to for
// a text that fits again.

#include <QFont>
#include <QLabel>

namespace corvane {

class FittedLabel : public QLabel {
public:
    explicit FittedLabel(QWidget* parent = nullptr);

    // Shows `text` at the largest font size that lets all of it fit.
    void setFittedText(const QString& text);

protected:
    bool event(QEvent* event) override;

private:
    void refit();

    QFont m_base;
    bool m_fitting = false;
};

} // namespace corvane
