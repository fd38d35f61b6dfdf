#include "log/ui/StationWindow.h"

#include "core/NumberText.h"
#include "core/SharedPrefs.h"
#include "platform/Dialogs.h"
#include "ui/FormScaler.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace corvane {

namespace {

constexpr TwipRect kDesign{0, 0, 4800, 3900};

QLabel* caption(QWidget* parent, const QString& text, const TwipRect& at) {
    auto* label = new QLabel(text, parent);
    FormScaler::place(label, at, 8.25);
    return label;
}

} // namespace

StationWindow::StationWindow(Dialogs& dialogs, SharedPrefs& sharedPrefs, const StationValues& current, QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs), m_sharedPrefs(sharedPrefs) {
    setObjectName(QStringLiteral("frmStationID"));
    setWindowTitle(QStringLiteral(" Amateur Station I.D."));
    setModal(true);

    setAccessibleName(QStringLiteral("Amateur Station I.D."));
    setAccessibleDescription(QStringLiteral("Your own call sign, grid square, UTC offset and power class"));
    QLabel* callCaption = caption(this, QStringLiteral("Please Enter your Call Sign:"), {240, 240, 2800, 300});
    m_call = new QLineEdit(current.call, this);
    m_call->setAccessibleName(QStringLiteral("Your call sign"));
    m_call->setAccessibleDescription(QStringLiteral("The call sign of your own station"));
    callCaption->setBuddy(m_call);
    m_call->setObjectName(QStringLiteral("txtStationCall"));
    FormScaler::place(m_call, {3120, 200, 1400, 380}, 8.25);

    QLabel* gridCaption = caption(this, QStringLiteral("Your Grid Square:"), {240, 760, 2800, 300});
    m_grid = new QLineEdit(current.grid, this);
    m_grid->setAccessibleName(QStringLiteral("Your grid square"));
    m_grid->setAccessibleDescription(QStringLiteral("The four-character grid square of your own station"));
    gridCaption->setBuddy(m_grid);
    m_grid->setObjectName(QStringLiteral("txtStationGrid"));
    m_grid->setMaxLength(4);
    FormScaler::place(m_grid, {3120, 720, 1400, 380}, 8.25);

    QLabel* offsetCaption = caption(this, QStringLiteral("Hours added for UTC:"), {240, 1280, 2800, 300});
    m_offset = new QLineEdit(current.offsetText, this);
    m_offset->setAccessibleName(QStringLiteral("Hours added for UTC"));
    m_offset->setAccessibleDescription(QStringLiteral("Hours added to local time to give UTC"));
    offsetCaption->setBuddy(m_offset);
    m_offset->setObjectName(QStringLiteral("txtUtcOffset"));
    m_offset->setMaxLength(6);
    FormScaler::place(m_offset, {3120, 1240, 1400, 380}, 8.25);

    auto* frame = new QGroupBox(QStringLiteral("Power:"), this);
    frame->setObjectName(QStringLiteral("framePower"));
    FormScaler::place(frame, {240, 1800, 4280, 1000}, 8.25);
    const char* const labels[] = {"< 5 Watts", "5 - 100 Watts", "> 100 Watts"};
    for (int i = 0; i < 3; ++i) {
        m_power[i] = new QRadioButton(QString::fromLatin1(labels[i]), frame);
        m_power[i]->setObjectName(QStringLiteral("optPower%1").arg(i + 1));
        m_power[i]->setAccessibleDescription(QStringLiteral("Power class of your station"));
        FormScaler::place(m_power[i], {120.0 + i * 1380, 420, 1360, 400}, 8.25);
    }
    const int power = current.powerCategory >= 1 && current.powerCategory <= 3 ? current.powerCategory : 2;
    m_power[power - 1]->setChecked(true);

    m_done = new QPushButton(QStringLiteral("Done"), this);
    m_done->setObjectName(QStringLiteral("cmdDone"));
    m_done->setAutoDefault(false);
    m_done->setAccessibleDescription(QStringLiteral("Keeps your station details and goes on to the log"));
    FormScaler::place(m_done, {1800, 3000, 1200, 480}, 8.25);
    connect(m_done, &QPushButton::clicked, this, &StationWindow::done);

    for (QLineEdit* field : {m_call, m_grid, m_offset}) {
        field->installEventFilter(this);
    }
    FormScaler::scale(this, ScaleVariant::ScaleToScreen, kDesign);
    m_call->setFocus();
}

StationValues StationWindow::values() const {
    StationValues v;
    v.call = m_call->text();
    v.grid = m_grid->text();
    v.offsetText = m_offset->text();
    for (int i = 0; i < 3; ++i) {
        if (m_power[i]->isChecked()) {
            v.powerCategory = i + 1;
        }
    }
    return v;
}

bool StationWindow::eventFilter(QObject* watched, QEvent* event) {
    auto* field = qobject_cast<QLineEdit*>(watched);
    if (!field) {
        return QDialog::eventFilter(watched, event);
    }
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            m_done->click();
            return true;
        }
        const QString text = key->text();
        if (text.size() != 1 || text[0].unicode() < 32) {
            return false; // editing keys
        }
        const QChar c = text[0];
        if (field == m_offset) {
            // "-", ".", "/" and the digits, in character code order
            return !(c >= QLatin1Char('-') && c <= QLatin1Char('9'));
        }
        if (c == QLatin1Char('"')) {
            return true;
        }
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) {
            field->insert(c.toUpper());
            return true;
        }
        return false;
    }
    if (event->type() == QEvent::FocusOut && field == m_offset) {
        const QString text = m_offset->text().trimmed();
        // An empty field is allowed: Done then keeps the offset as it was.
        if (!text.isEmpty() && !isNumeric(text.toStdString()) && isVisible()) {
            m_dialogs.beep();
            m_dialogs.message(this, QStringLiteral("Numeric value required."),
                              QStringLiteral("Please enter a numeric value!"), MsgButtons::Ok, MsgIcon::Warning);
            m_offset->setFocus();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void StationWindow::done() {
    if (m_grid->text().size() != 4) {
        m_dialogs.message(this, QStringLiteral("Please Enter a Grid Square!"),
                          QStringLiteral("Entering your grid square is required for proper scoring of this contest!"),
                          MsgButtons::Ok, MsgIcon::Critical);
    }
    if (!isNumeric(m_offset->text().toStdString())) {
        m_offset->clear();
    }
    m_sharedPrefs.set("OWN_CALL", m_call->text().toLatin1().toStdString(), false);
    m_sharedPrefs.set("OWN_GRID", m_grid->text().toLatin1().toStdString(), false);
    const FileResult saved = m_sharedPrefs.set("OWN_UTC", m_offset->text().toLatin1().toStdString(), true);
    if (!saved.ok) {
        m_dialogs.message(this, QStringLiteral("Unable to write file."),
                          QString::fromStdString(m_sharedPrefs.path() + "  " + saved.error), MsgButtons::Ok,
                          MsgIcon::Warning);
    }
    accept();
}

} // namespace corvane
