#include "log/ui/EditContactWindow.h"

#include "log/LogStore.h"
#include "platform/Dialogs.h"
#include "ui/FormScaler.h"
#include "ui/KeyText.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace corvane {

namespace {

constexpr TwipRect kDesign{0, 0, 4680, 4880};
constexpr double kFieldFont = 9.75;

QString fromLatin1(std::string_view s) {
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}
std::string toLatin1(const QString& s) {
    return s.toLatin1().toStdString();
}

bool validIndex(const ContactLog& log, int index) {
    return index >= 1 && index <= log.qsoCount();
}

EditFlowResult writeBack(QWidget* parent, LogStore& store, Dialogs& dialogs, std::vector<QsoRecord> records,
                         EditFlowResult::Outcome outcome) {
    const FileResult written = store.rewrite(std::move(records));
    if (!written.ok) {
        dialogs.message(parent, QStringLiteral("Unable to write file."),
                        fromLatin1(store.path() + "  " + written.error), MsgButtons::Ok, MsgIcon::Warning);
        return {EditFlowResult::Outcome::WriteFailed, written.error};
    }
    return {outcome, {}};
}

} // namespace

EditContactWindow::EditContactWindow(const ContactLog& log, int editedIndex, const OwnStation& own, Dialogs& dialogs,
                                     QWidget* parent)
    : QDialog(parent), m_log(log), m_editedIndex(editedIndex), m_own(own), m_dialogs(dialogs) {
    setObjectName(QStringLiteral("frmEditCon"));
    setWindowTitle(fromLatin1(kEditWindowTitle));
    setModal(true);

    auto* heading = new QLabel(QStringLiteral("Edit Contact:"), this);
    heading->setObjectName(QStringLiteral("lblHeading"));
    FormScaler::place(heading, {240, 120, 3600, 400}, 12);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);

    const EditFields f = validIndex(log, editedIndex) ? editFieldsOf(log.record(editedIndex)) : EditFields{};
    m_call = addField("txtEditCall", QStringLiteral("Callsign"), f.call, 0);
    m_gridR = addField("txtEditGridR", QStringLiteral("Grid(R)"), f.gridR, 1);
    m_gridS = addField("txtEditGridS", QStringLiteral("Grid(S)"), f.gridS, 2);
    m_date = addField("txtEditDate", QStringLiteral("Date"), f.date, 3);
    m_time = addField("txtEditTime", QStringLiteral("Time"), f.time, 4);
    m_points = addField("txtEditPoints", QStringLiteral("Points"), f.points, 5);
    m_km = addField("txtEditKm", QStringLiteral("km"), f.kilometers, 6);
    m_miles = new QLineEdit(fromLatin1(f.miles), this);
    m_miles->setObjectName(QStringLiteral("txtEditMiles"));
    m_miles->setVisible(false);
    m_mode = new QLineEdit(fromLatin1(f.mode), this);
    m_mode->setObjectName(QStringLiteral("txtEditMode"));
    m_mode->setVisible(false);

    m_dupe = new QLabel(QStringLiteral("Dupe!"), this);
    m_dupe->setObjectName(QStringLiteral("lblEditDupe"));
    FormScaler::place(m_dupe, {240, 4080, 1200, 440}, 12);
    QPalette red = m_dupe->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    m_dupe->setPalette(red);
    QFont dupeFont = m_dupe->font();
    dupeFont.setBold(true);
    m_dupe->setFont(dupeFont);
    m_dupe->setVisible(false);

    // The buttons do not take the focus from a field when clicked, so a field's own
    // check on leaving it does not run before Done's checks.
    m_done = new QPushButton(QStringLiteral("Done"), this);
    m_done->setObjectName(QStringLiteral("cmdDone"));
    m_done->setAutoDefault(false);
    m_done->setFocusPolicy(Qt::TabFocus);
    FormScaler::place(m_done, {1800, 4080, 1200, 440}, kFieldFont);
    connect(m_done, &QPushButton::clicked, this, &EditContactWindow::pressDone);

    m_deleteDupe = new QPushButton(QStringLiteral("Delete Dupe"), this);
    m_deleteDupe->setObjectName(QStringLiteral("cmdDeleteDupe"));
    m_deleteDupe->setAutoDefault(false);
    m_deleteDupe->setFocusPolicy(Qt::TabFocus);
    FormScaler::place(m_deleteDupe, {3120, 4080, 1320, 440}, kFieldFont);
    m_deleteDupe->setVisible(false);
    connect(m_deleteDupe, &QPushButton::clicked, this, [this] {
        m_result = Result::DeleteRequested;
        accept();
    });

    QWidget* order[] = {m_call, m_gridR, m_gridS, m_date, m_time, m_points, m_km, m_done, m_deleteDupe};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) {
        setTabOrder(order[i], order[i + 1]);
    }
    connect(m_gridR, &QLineEdit::textChanged, this, &EditContactWindow::recomputeGrid);

    FormScaler::scale(this, ScaleVariant::ScaleToScreen, kDesign);
    m_filling = false;
    m_call->setFocus();
}

QLineEdit* EditContactWindow::addField(const char* name, const QString& caption, const std::string& text, int row) {
    auto* label = new QLabel(caption, this);
    label->setObjectName(QStringLiteral("lbl") + QString::fromLatin1(name).mid(3));
    FormScaler::place(label, {240, 680.0 + row * 480, 1440, 320}, kFieldFont);
    auto* field = new QLineEdit(fromLatin1(text), this);
    field->setObjectName(QString::fromLatin1(name));
    field->setAccessibleName(caption);
    field->setAccessibleDescription(
        QStringLiteral("The contact's %1 as the log holds it; a change is kept when Done is pressed.").arg(caption));
    FormScaler::place(field, {1800, 640.0 + row * 480, 2640, 400}, kFieldFont);
    label->setBuddy(field);
    field->installEventFilter(this);
    // Pasted text obeys the same rules as typed text.
    connect(field, &QLineEdit::textEdited, this, [this, field](const QString& edited) {
        const EditField kind = fieldKind(field);
        QString clean;
        for (const QChar c : edited) {
            const char16_t u = c.unicode();
            if (u >= 256) {
                continue;
            }
            if (const auto kept = filterEditKey(kind, static_cast<char>(u))) {
                clean += QChar::fromLatin1(*kept);
            }
        }
        if (clean != edited) {
            const int cursor = field->cursorPosition();
            field->setText(clean);
            field->setCursorPosition(std::min<int>(cursor, static_cast<int>(clean.size())));
        }
    });
    return field;
}

EditField EditContactWindow::fieldKind(const QLineEdit* field) const {
    if (field == m_gridR) {
        return EditField::GridR;
    }
    if (field == m_gridS) {
        return EditField::GridS;
    }
    if (field == m_date) {
        return EditField::Date;
    }
    if (field == m_time) {
        return EditField::Time;
    }
    if (field == m_points) {
        return EditField::Points;
    }
    if (field == m_km) {
        return EditField::Kilometers;
    }
    return EditField::Call;
}

EditFields EditContactWindow::fields() const {
    EditFields f;
    f.call = toLatin1(m_call->text());
    f.gridR = toLatin1(m_gridR->text());
    f.gridS = toLatin1(m_gridS->text());
    f.date = toLatin1(m_date->text());
    f.time = toLatin1(m_time->text());
    f.points = toLatin1(m_points->text());
    f.kilometers = toLatin1(m_km->text());
    f.miles = toLatin1(m_miles->text());
    f.mode = toLatin1(m_mode->text());
    return f;
}

bool EditContactWindow::eventFilter(QObject* watched, QEvent* event) {
    auto* field = qobject_cast<QLineEdit*>(watched);
    if (!field) {
        return QDialog::eventFilter(watched, event);
    }
    if (event->type() == QEvent::KeyPress) {
        return keyPress(field, static_cast<QKeyEvent*>(event));
    }
    if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // Another window taking the focus (a message box) is not leaving the field.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            leaveField(field);
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool EditContactWindow::keyPress(QLineEdit* field, QKeyEvent* key) {
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        pressDone();
        return true;
    }
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
        return false;
    }
    const char c = typedChar(key);
    if (c == 0) {
        return false; // Backspace and the editing keys
    }
    if (c == '\x7f') {
        return true;
    }
    const auto kept = filterEditKey(fieldKind(field), c);
    if (!kept) {
        return true;
    }
    if (*kept != c) {
        field->insert(QString(QChar::fromLatin1(*kept)));
        return true;
    }
    return false;
}

void EditContactWindow::refuse(QLineEdit* field, std::string_view title, std::string_view text) {
    m_checking = true;
    m_dialogs.beep();
    m_dialogs.message(this, fromLatin1(title), fromLatin1(text), MsgButtons::Ok, MsgIcon::Warning);
    field->setFocus();
    m_checking = false;
}

void EditContactWindow::leaveField(QLineEdit* field) {
    if (m_checking || m_result != Result::Closed || !isVisible()) {
        return;
    }
    if (field == m_date && !isValidEditDate(toLatin1(m_date->text()))) {
        refuse(m_date, kInvalidDateTitle, kInvalidDateText);
    } else if (field == m_time && !isValidEditTime(toLatin1(m_time->text()))) {
        refuse(m_time, kInvalidTimeTitle, kInvalidTimeText);
    } else if (field == m_points) {
        m_points->setText(fromLatin1(pointsOnLeave(toLatin1(m_points->text()))));
    }
}

void EditContactWindow::recomputeGrid() {
    if (m_filling) {
        return;
    }
    const auto values =
        recomputeEditGrid(toLatin1(m_gridR->text()), m_own.grid, m_own.position, toLatin1(m_points->text()));
    if (values) {
        m_km->setText(fromLatin1(values->kilometres));
        m_points->setText(fromLatin1(values->points));
    }
}

void EditContactWindow::showDupe(bool shown) {
    m_dupe->setVisible(shown);
    m_deleteDupe->setVisible(shown);
}

void EditContactWindow::pressDone() {
    // Enter in the points field leaves it as surely as a click elsewhere.
    if (m_points->hasFocus()) {
        m_points->setText(fromLatin1(pointsOnLeave(toLatin1(m_points->text()))));
    }
    const EditDoneResult done = editDone(m_log, m_editedIndex, fields());
    switch (done.outcome) {
    case EditDoneResult::Outcome::InvalidTime:
        refuse(m_time, kInvalidTimeTitle, kInvalidTimeText);
        return;
    case EditDoneResult::Outcome::InvalidDate:
        refuse(m_date, kInvalidDateTitle, kInvalidDateText);
        return;
    case EditDoneResult::Outcome::Duplicate:
        showDupe(true);
        for (std::size_t i = 0; i < done.duplicateRecords.size(); ++i) {
            m_dialogs.beep();
        }
        return;
    case EditDoneResult::Outcome::Stored:
        showDupe(false);
        m_stored = done.record;
        m_result = Result::Stored;
        accept();
        return;
    }
}

// ---------------------------------------------------------------- flows

EditFlowResult runDeleteFlow(QWidget* parent, LogStore& store, Dialogs& dialogs, int recordIndex) {
    if (!validIndex(store.log(), recordIndex)) {
        return {EditFlowResult::Outcome::NoRecord, {}};
    }
    const MsgAnswer answer = dialogs.message(parent, fromLatin1(kAreYouSureText), fromLatin1(kAreYouSureText),
                                             MsgButtons::YesNo, MsgIcon::Question);
    if (answer != MsgAnswer::Yes) {
        return {};
    }
    return writeBack(parent, store, dialogs, recordsWithDeleted(store.log(), recordIndex),
                     EditFlowResult::Outcome::Deleted);
}

EditFlowResult finishEdit(QWidget* parent, LogStore& store, Dialogs& dialogs, int recordIndex,
                          EditContactWindow::Result result, const QsoRecord& stored) {
    if (!validIndex(store.log(), recordIndex)) {
        return {EditFlowResult::Outcome::NoRecord, {}};
    }
    switch (result) {
    case EditContactWindow::Result::Stored:
        return writeBack(parent, store, dialogs, recordsWithReplaced(store.log(), recordIndex, stored),
                         EditFlowResult::Outcome::Stored);
    case EditContactWindow::Result::DeleteRequested: {
        const EditFlowResult deleted = runDeleteFlow(parent, store, dialogs, recordIndex);
        if (deleted.outcome != EditFlowResult::Outcome::Unchanged) {
            return deleted;
        }
        break;
    }
    case EditContactWindow::Result::Closed:
        break;
    }
    // Closed without a change: the log is written back as it is.
    return writeBack(parent, store, dialogs, store.log().records(), EditFlowResult::Outcome::Unchanged);
}

EditFlowResult runEditFlow(QWidget* parent, LogStore& store, Dialogs& dialogs, int recordIndex, const OwnStation& own) {
    if (!validIndex(store.log(), recordIndex)) {
        return {EditFlowResult::Outcome::NoRecord, {}};
    }
    EditContactWindow window(store.log(), recordIndex, own, dialogs, parent);
    window.exec();
    return finishEdit(parent, store, dialogs, recordIndex, window.result(), window.storedRecord());
}

} // namespace corvane
