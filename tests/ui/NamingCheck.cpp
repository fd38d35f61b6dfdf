#include "ui/NamingCheck.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QWidget>
#include <map>

namespace corvane::test {
namespace {

QString accessibleText(const QWidget* control, QAccessible::Text which) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(const_cast<QWidget*>(control));
    return face != nullptr ? face->text(which).trimmed() : QString();
}

std::string describeControl(const QWidget* control) {
    return control->metaObject()->className() + std::string(" ") +
           (control->objectName().isEmpty() ? std::string("(no object name)") : control->objectName().toStdString());
}

// A control a person fills in or picks from, whose name is only its caption.
bool takesInput(const QWidget* control) {
    return qobject_cast<const QLineEdit*>(control) || qobject_cast<const QComboBox*>(control) ||
           qobject_cast<const QAbstractSpinBox*>(control) || qobject_cast<const QTextEdit*>(control) ||
           qobject_cast<const QPlainTextEdit*>(control) || qobject_cast<const QAbstractItemView*>(control);
}

// Parts of a composite control (a combo box's own line edit, a list's viewport) are read
// as the control they belong to.
bool partOfAnother(const QWidget* control) {
    for (const QWidget* up = control->parentWidget(); up != nullptr && !up->isWindow(); up = up->parentWidget()) {
        if (qobject_cast<const QComboBox*>(up) || qobject_cast<const QAbstractSpinBox*>(up) ||
            qobject_cast<const QAbstractItemView*>(up)) {
            return true;
        }
    }
    return false;
}

} // namespace

std::vector<std::string> namingProblems(const QWidget* window) {
    std::vector<std::string> problems;
    const std::string where = window->objectName().toStdString() + ": ";
    std::map<QString, const QWidget*> byName;
    for (const QWidget* control : window->findChildren<QWidget*>()) {
        // A control greyed out now is read all the same, and is enabled later.
        if (!control->isVisibleTo(window) || control->focusPolicy() == Qt::NoFocus || partOfAnother(control) ||
            control->window() != window) {
            continue;
        }
        const QString name = accessibleText(control, QAccessible::Name);
        if (name.isEmpty()) {
            problems.push_back(where + describeControl(control) + " has no accessible name");
            continue;
        }
        // Without a name of its own a combo box is read by what it shows, "1 selected".
        if (qobject_cast<const QComboBox*>(control) && control->accessibleName().isEmpty()) {
            problems.push_back(where + describeControl(control) + " is read by its value: \"" + name.toStdString() +
                               "\"");
            continue;
        }
        if (takesInput(control) && accessibleText(control, QAccessible::Description).isEmpty()) {
            problems.push_back(where + describeControl(control) + " (\"" + name.toStdString() +
                               "\") has no accessible description");
        }
        const auto [first, added] = byName.emplace(name, control);
        if (!added) {
            problems.push_back(where + describeControl(control) + " reads the same as " +
                               describeControl(first->second) + ": \"" + name.toStdString() + "\"");
        }
    }
    return problems;
}

} // namespace corvane::test
