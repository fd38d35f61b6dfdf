#include "log/ui/EntryLine.h"

#include "core/Clock.h"
#include "core/DateTime.h"
#include "log/Entry.h"
#include "log/Session.h"
#include "log/score/Dupes.h"
#include "platform/Dialogs.h"
#include "ui/Announcer.h"
#include "ui/AppContext.h"
#include "ui/KeyText.h"
#include "ui/WidgetText.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace corvane {

namespace {

const QColor kTeal(0, 192, 192);
const QColor kRed(255, 0, 0);

bool isEnter(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

QLineEdit* makeField(QWidget* parent, const char* name, int maxLength, const char* accessibleName,
                     const char* description, const TwipRect& at, double font) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(QString::fromLatin1(name));
    field->setMaxLength(maxLength);
    field->setAccessibleName(QString::fromLatin1(accessibleName));
    field->setAccessibleDescription(QString::fromLatin1(description));
    FormScaler::place(field, at, font);
    return field;
}

// "Points: 3", or the caption alone while the label is empty.
QString spokenValue(const QString& caption, const QString& value) {
    return value.trimmed().isEmpty() ? caption : caption + QStringLiteral(": ") + value.trimmed();
}

// Moves the keyboard on as the Tab key does.
void focusNextAsTab(QWidget* from) {
    for (QWidget* w = from->nextInFocusChain(); w != nullptr && w != from; w = w->nextInFocusChain()) {
        if (w->window() == from->window() && w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus)) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

} // namespace

EntryLine::EntryLine(AppContext& context, Session& session, QWidget* central, std::function<bool()> timeOnRunning)
    : QObject(central), m_ctx(context), m_session(session), m_timeOnRunning(std::move(timeOnRunning)) {
    build(central);
    m_holdTimer.setSingleShot(true);
    connect(&m_holdTimer, &QTimer::timeout, this, &EntryLine::replayHeldKeys);
}

EntryLine::~EntryLine() {
    for (QKeyEvent* key : m_heldKeys) {
        delete key;
    }
}

void EntryLine::build(QWidget* central) {
    makeLabel(central, "lblCallCaption", QStringLiteral("Call"), {120, 800, 2280, 240}, 8.25);
    makeLabel(central, "lblGridCaption", QStringLiteral("Grid"), {2520, 800, 1080, 240}, 8.25);
    makeLabel(central, "lblKmCaption", QStringLiteral("Kilometers"), {3720, 800, 1080, 240}, 8.25);
    makeLabel(central, "lblBearingCaption", QStringLiteral("Bearing"), {4920, 800, 880, 240}, 8.25);
    makeLabel(central, "lblPointsCaption", QStringLiteral("Points"), {5920, 800, 880, 240}, 8.25);
    m_postTimeCaption = makeLabel(central, "lblPostConTime", QStringLiteral("Time"), {6920, 800, 780, 240}, 8.25);
    m_postDateCaption = makeLabel(central, "lblPostConDate", QStringLiteral("Date"), {7820, 800, 1400, 240}, 8.25);

    m_call = makeField(central, "txtCall", 13, "Call", "The other station's call sign", {120, 1040, 2280, 480}, 13);
    m_grid = makeField(central, "txtSec", 4, "Grid", "The other station's four-character grid square",
                       {2520, 1040, 1080, 480}, 13);
    m_kilometres = makeLabel(central, "Label24", QString(), {3720, 1040, 1080, 480}, 12, true);
    m_kilometres->setAccessibleName(QStringLiteral("Kilometers"));
    m_kilometres->setAccessibleDescription(QStringLiteral("Distance to the grid being entered"));
    m_bearing = makeLabel(central, "Label23", QString(), {4920, 1040, 880, 480}, 12, true);
    m_bearing->setAccessibleName(QStringLiteral("Bearing"));
    m_bearing->setAccessibleDescription(QStringLiteral("Bearing in degrees to the grid being entered"));
    m_points = makeLabel(central, "Label5", QString(), {5920, 1040, 880, 480}, 12, true);
    m_points->setAccessibleName(QStringLiteral("Points"));
    m_points->setAccessibleDescription(QStringLiteral("Points the contact being entered scores"));
    m_points->setAlignment(Qt::AlignCenter);
    m_postTime = makeField(central, "txtPostConTime", 5, "Time", "Time of a contact logged after the contest, HH:MM",
                           {6920, 1040, 780, 480}, 10);
    m_postDate = makeField(central, "txtPostConDate", 10, "Date",
                           "Date of a contact logged after the contest, MM/DD/YYYY", {7820, 1040, 1400, 480}, 10);
    for (QWidget* w : {static_cast<QWidget*>(m_postTime), static_cast<QWidget*>(m_postDate),
                       static_cast<QWidget*>(m_postTimeCaption), static_cast<QWidget*>(m_postDateCaption)}) {
        w->setVisible(false);
    }
    QWidget::setTabOrder(m_call, m_grid);
    QWidget::setTabOrder(m_grid, m_postTime);
    QWidget::setTabOrder(m_postTime, m_postDate);

    // A long message (a device named in full, an error) wraps and steps its font down rather
    // than lose its end.
    m_dialog = new FittedLabel(central);
    m_dialog->setObjectName(QStringLiteral("lblDialog"));
    FormScaler::place(m_dialog, {120, 1640, 7800, 400}, 10);
    QFont bold = m_dialog->font();
    bold.setBold(true);
    m_dialog->setFont(bold);
    m_announcer = new Announcer(central);
    m_dialog->setAccessibleName(QStringLiteral("Message"));
    m_dialog->setAccessibleDescription(QStringLiteral("What the logger says about the contact being entered"));
    paint(m_dialog, kTeal);
    m_clear = new QPushButton(QStringLiteral("&Clear"), central);
    m_clear->setObjectName(QStringLiteral("cmdClear"));
    m_clear->setToolTip(QStringLiteral("Click to clear entry fields or press ALT C"));
    m_clear->setAccessibleDescription(QStringLiteral("Clears the call and grid fields"));
    m_clear->setFocusPolicy(Qt::NoFocus);
    FormScaler::place(m_clear, {8040, 1640, 1200, 400}, 8.25);
    connect(m_clear, &QPushButton::clicked, this, &EntryLine::clearEntry);

    makeLabel(central, "lblDupeCaption", QString::fromLatin1(kPossibleDuplicatesCaption.data()), {120, 2160, 4600, 260},
              8.25);
    m_dupe = makeLabel(central, "lblDupe", QString(), {120, 2420, 4600, 700}, 8.25);
    m_dupe->setAccessibleName(QString::fromLatin1(kPossibleDuplicatesCaption.data()));
    m_dupe->setAccessibleDescription(QStringLiteral("Logged calls that contain what is typed in the call field"));
    m_dupe->setWordWrap(true);
    m_dupe->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    m_dupe->setAutoFillBackground(true);
    m_dupToggle = new QPushButton(QStringLiteral("On"), central);
    m_dupToggle->setObjectName(QStringLiteral("cmdDup"));
    m_dupToggle->setToolTip(QStringLiteral("Displaying partial dupes slows the program on older pc's."));
    m_dupToggle->setAccessibleName(QStringLiteral("Partial duplicates display"));
    m_dupToggle->setAccessibleDescription(QStringLiteral("Turns the list of possible duplicates on or off"));
    m_dupToggle->setFocusPolicy(Qt::NoFocus);
    FormScaler::place(m_dupToggle, {4760, 2420, 600, 360}, 8.25);
    connect(m_dupToggle, &QPushButton::clicked, this, [this] {
        setDupeList(m_dupe->text(), false);
        m_partialDupesOn = !m_partialDupesOn;
        m_dupToggle->setText(m_partialDupesOn ? QStringLiteral("On") : QStringLiteral("Off"));
        m_call->setFocus();
    });

    for (QLineEdit* field : {m_call, m_grid, m_postTime, m_postDate}) {
        field->installEventFilter(this);
    }
    m_lastField = m_call;
    connect(m_grid, &QLineEdit::textChanged, this, &EntryLine::refreshGridDisplay);
    connect(m_call, &QLineEdit::textChanged, this, &EntryLine::callChanged);
    // Pasted text obeys the same rules as typed text: upper case, no double quote.
    for (QLineEdit* field : {m_call, m_grid}) {
        connect(field, &QLineEdit::textEdited, this, [field](const QString& text) {
            QString clean = text.toUpper();
            clean.remove(QLatin1Char('"'));
            if (clean != text) {
                const int cursor = field->cursorPosition();
                field->setText(clean);
                field->setCursorPosition(std::min<int>(cursor, clean.size()));
            }
        });
    }
    setPointsText(QString());
}

void EntryLine::resetForStart() {
    setMessage(QStringLiteral("Ready to begin!"));
    m_gridDisplay.kilometres.clear();
    m_gridDisplay.bearing.clear();
    m_kilometres->clear();
    m_bearing->clear();
    m_partialDupesOn = true;
    m_dupToggle->setText(QStringLiteral("On"));
}

// ---------------------------------------------------------------- EntryHost

std::string EntryLine::callText() const {
    return toLatin1(m_call->text());
}

void EntryLine::setCallText(const std::string& call) {
    m_call->setText(fromLatin1(call));
}

void EntryLine::showMessage(const std::string& text) {
    setMessage(fromLatin1(text));
}

void EntryLine::showNews(const std::string& text) {
    setMessage(fromLatin1(text), Announce::Yes);
}

void EntryLine::setMessageBackground(Rgb colour) {
    paintMessageLine(colour.red, colour.green, colour.blue);
}

QLineEdit* EntryLine::lastEntryField() const {
    return m_lastField != nullptr && m_lastField->isVisible() ? m_lastField : m_call;
}

void EntryLine::focusEntry() {
    QLineEdit* field = lastEntryField();
    if (QWidget* window = field->window(); window != nullptr && window->isVisible()) {
        window->activateWindow();
    }
    field->setFocus(Qt::OtherFocusReason);
}

void EntryLine::focusCallField() {
    m_call->setFocus(Qt::OtherFocusReason);
}

void EntryLine::leaveCallField() {
    if (QWidget* window = m_call->window(); window != nullptr && window->isVisible()) {
        window->activateWindow();
    }
    m_call->setFocus(Qt::OtherFocusReason);
    focusNextAsTab(m_call);
}

void EntryLine::clearEntry() {
    m_call->clear();
    m_grid->clear();
    setDupeList(QString(), false);
    setMessage(QStringLiteral(" "));
    paintMessageLine(kTeal.red(), kTeal.green(), kTeal.blue());
    m_call->setFocus();
}

// ---------------------------------------------------------------- keys

bool EntryLine::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (watched == m_call) {
            return callKeyPress(key);
        }
        if (watched == m_grid) {
            return gridKeyPress(key);
        }
        if (watched == m_postTime || watched == m_postDate) {
            return postContestKeyPress(static_cast<QLineEdit*>(watched), key);
        }
    } else if (event->type() == QEvent::FocusIn) {
        if (auto* field = qobject_cast<QLineEdit*>(watched)) {
            m_lastField = field;
        }
        if (watched == m_call) {
            emit fieldEntered(EntryField::Call);
        } else if (watched == m_grid) {
            if (!m_call->text().isEmpty()) {
                refuseDuplicate();
            }
            if (m_grid->hasFocus()) {
                emit fieldEntered(EntryField::Grid);
            }
        } else if (watched == m_postDate) {
            if (m_postDate->text().isEmpty()) {
                m_postDate->setText(fromLatin1(formatDateSlash(m_ctx.clock.localNow())));
            }
            QTimer::singleShot(0, m_postDate, &QLineEdit::selectAll);
        } else if (watched == m_postTime) {
            QTimer::singleShot(0, m_postTime, &QLineEdit::selectAll);
        }
    }
    return QObject::eventFilter(watched, event);
}

bool EntryLine::callKeyPress(QKeyEvent* key) {
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
        return false;
    }
    // After a refused duplicate, keystrokes wait until three seconds have passed; they
    // are kept in order and replayed then, and the window stays live meanwhile.
    if (m_dupeFlag && !m_replaying) {
        const std::int64_t remaining = dupeHoldRemainingMs(m_dupeTimeMs, m_ctx.clock.monotonicMs());
        if (remaining > 0 || !m_heldKeys.empty()) {
            m_heldKeys.push_back(static_cast<QKeyEvent*>(key->clone()));
            if (!m_holdTimer.isActive()) {
                m_holdTimer.start(static_cast<int>(std::max<std::int64_t>(remaining, 0)));
            }
            return true;
        }
        m_dupeFlag = false;
    }

    const char c = typedChar(key);
    if (m_call->text().isEmpty()) {
        setMessage(QString());
    }
    if (c == '"') {
        return true;
    }
    if (m_call->text().size() < 3 && m_timeOnRunning()) {
        setMessage(QStringLiteral(" "));
    }
    if (isEnter(key)) {
        logEnteredContact();
        return true;
    }
    if (c == ' ') {
        m_grid->setFocus();
        return true;
    }
    if (c == 0) {
        return false; // editing keys
    }
    if (c == '\x7f') {
        return true; // not representable in the log file
    }
    const char upper = capital(c);
    const std::string before = toLatin1(m_call->text());
    const PartialCheckResult partial =
        partialCheck(m_session.log(), PartialCheckInput{before, upper, m_partialDupesOn, m_timeOnRunning()});
    paintMessageLine(kTeal.red(), kTeal.green(), kTeal.blue());
    setDupeList(fromLatin1(partial.dupeList), partial.dupeListTeal);
    if (partial.messageText) {
        setMessage(fromLatin1(*partial.messageText));
    }
    if (partial.beep) {
        m_ctx.dialogs.beep();
    }
    if (upper != c) {
        m_call->insert(QString(QChar::fromLatin1(upper)));
        return true;
    }
    return false;
}

void EntryLine::replayHeldKeys() {
    m_dupeFlag = false;
    m_replaying = true;
    while (!m_heldKeys.empty()) {
        QKeyEvent* key = m_heldKeys.front();
        m_heldKeys.pop_front();
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : m_call;
        QCoreApplication::sendEvent(target, key);
        delete key;
    }
    m_replaying = false;
}

bool EntryLine::gridKeyPress(QKeyEvent* key) {
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
        return false;
    }
    const char c = typedChar(key);
    if (c == '"' || c == '\x7f') {
        return true;
    }
    if (isEnter(key)) {
        logEnteredContact();
        return true;
    }
    if (c == ' ') {
        focusNextAsTab(m_grid);
        return true;
    }
    if (c >= 'a' && c <= 'z' && m_grid->cursorPosition() < 4) {
        m_grid->insert(QString(QChar::fromLatin1(capital(c))));
        return true;
    }
    return false;
}

bool EntryLine::postContestKeyPress(QLineEdit* field, QKeyEvent* key) {
    if (isEnter(key)) {
        logEnteredContact();
        return true;
    }
    const char c = typedChar(key);
    if (c == ' ') {
        focusNextAsTab(field);
        return true;
    }
    if (c == 0) {
        return false; // backspace and editing keys
    }
    const char separator = field == m_postTime ? ':' : '/';
    return !((c >= '0' && c <= '9') || c == separator);
}

// ---------------------------------------------------------------- logging

bool EntryLine::refuseDuplicate() {
    m_dupeFlag = false;
    const auto hit = corvane::findDuplicate(m_session.log(), toLatin1(m_call->text()));
    if (!hit) {
        return false;
    }
    setMessage(fromLatin1(hit->message), Announce::Yes);
    paintMessageLine(kRed.red(), kRed.green(), kRed.blue());
    setDupeList(QString(), false);
    m_ctx.dialogs.beep();
    // Heard before the call field takes the keyboard back (its own prompt follows).
    emit duplicateRefused();
    m_dupeFlag = true;
    m_dupeTimeMs = m_ctx.clock.monotonicMs();
    m_call->setFocus();
    m_call->clear();
    m_grid->clear();
    return true;
}

void EntryLine::refuseLogging(const QString& title, const QString& text) {
    m_ctx.dialogs.beep();
    m_ctx.dialogs.message(m_call->window(), title, text, MsgButtons::Ok, MsgIcon::Critical);
    setMessage(QStringLiteral("Contact NOT logged!"), Announce::Yes);
    paintMessageLine(kRed.red(), kRed.green(), kRed.blue());
}

void EntryLine::logEnteredContact() {
    const CompletenessCheck check = checkCompleteness(toLatin1(m_call->text()), toLatin1(m_grid->text()));
    for (int i = 0; i < check.beeps; ++i) {
        m_ctx.dialogs.beep();
    }
    if (!check.message.empty()) {
        setMessage(fromLatin1(check.message), Announce::Yes);
    }
    if (check.focus == EntryFocus::Grid) {
        m_grid->setFocus();
    } else if (check.focus == EntryFocus::Call) {
        m_call->setFocus();
    }

    const bool duplicate = refuseDuplicate();

    PostContestStamp stamp;
    if (m_postContestMode) {
        stamp = stampPostContest(toLatin1(m_postDate->text()), toLatin1(m_postTime->text()));
        if (stamp.fault == StampFault::Date) {
            setMessage(fromLatin1(stamp.error), Announce::Yes);
            m_ctx.dialogs.beep();
            return;
        }
        m_postDate->setText(fromLatin1(stamp.dateText));
        if (!stamp.ok) {
            setMessage(fromLatin1(stamp.error), Announce::Yes);
            m_ctx.dialogs.beep();
            return;
        }
        m_postTime->setText(fromLatin1(stamp.timeText));
    }

    if (!check.incomplete && !duplicate) {
        if (!m_session.logLoaded()) {
            // Memory does not mirror log.txt: a contact logged now could be a duplicate of one
            // in the file, and a later rewrite would lose the file's contacts.
            refuseLogging(QStringLiteral("Contact Not Logged"),
                          QStringLiteral("%1 was not logged: the log %2 could not be read at start-up, so the "
                                         "program cannot check duplicates or keep the log safe. Fix or restore the "
                                         "log, then start the program again.")
                              .arg(m_call->text(), fromLatin1(m_session.store().path())));
            return;
        }
        const Preferences& prefs = m_session.prefs();
        if (fromLatin1(prefs.ownCall).trimmed().isEmpty() || fromLatin1(prefs.ownGrid).trimmed().isEmpty()) {
            // Distance and points are worked out from the own grid: without it every contact
            // would be scored from nowhere.
            refuseLogging(QStringLiteral("Station Not Set"),
                          QStringLiteral("%1 was not logged: your own call and grid square are not set, so the "
                                         "distance and points of the contact cannot be worked out. Enter them in "
                                         "the station window, then press Enter again.")
                              .arg(m_call->text()));
            emit stationRequired();
            return;
        }
        ContactEntry entry;
        entry.call = toLatin1(m_call->text());
        entry.grid = toLatin1(m_grid->text());
        // The figures worked out for the grid as it stands, as the labels show them.
        entry.kilometers = m_gridDisplay.kilometres;
        entry.points = m_gridDisplay.points;
        entry.ownGrid = m_session.prefs().ownGrid;
        entry.frequency = m_session.rigFrequencyText();
        const QsoRecord record = buildRecord(entry, utcNow(), m_postContestMode ? &stamp : nullptr);
        const LogStore::AppendResult appended = m_session.store().append(record);
        if (appended.status != LogStore::AppendStatus::Logged) {
            // Nothing was logged: the fields stay for another try, and memory still
            // mirrors the file.
            if (appended.status == LogStore::AppendStatus::Full) {
                refuseLogging(QStringLiteral("Log Full"),
                              QStringLiteral("The log holds %1 contacts, the most it can keep. %2 was not logged.")
                                  .arg(ContactLog::kCapacity)
                                  .arg(fromLatin1(record.call)));
            } else {
                refuseLogging(QStringLiteral("Contact Not Logged"),
                              QStringLiteral("%1 could not be written to %2:\r\n%3\r\n\r\nThe contact was not "
                                             "logged. Free the disk or fix the file, then press Enter again.")
                                  .arg(fromLatin1(record.call), fromLatin1(m_session.store().path()),
                                       fromLatin1(appended.error)));
            }
            return;
        }
        m_call->clear();
        m_grid->clear();
        m_call->setFocus();
        setMessage(QString());
        paintMessageLine(kTeal.red(), kTeal.green(), kTeal.blue());
        setDupeList(QString(), false);
        emit logged(record);
    }
    setDupeList(QString(), false);
    m_session.setRigFrequencyText({});
    emit loggingFinished();
}

// ---------------------------------------------------------------- displays

DateTime EntryLine::utcNow() const {
    return applyUtcOffset(m_ctx.clock.localNow(), m_session.prefs().utcOffsetHours);
}

void EntryLine::refreshGridDisplay() {
    const Preferences& prefs = m_session.prefs();
    m_gridDisplay = computeGridDisplay(toLatin1(m_grid->text()), prefs.ownGrid,
                                       GeoPosition{prefs.ownLatitude, prefs.ownLongitude}, m_gridDisplay.points);
    const GridDisplay& display = m_gridDisplay;
    m_bearing->setText(fromLatin1(display.bearing));
    m_kilometres->setText(fromLatin1(display.kilometres));
    setPointsText(fromLatin1(display.points));
    // A screen reader reads a label by its name: the figure goes with it.
    m_bearing->setAccessibleName(spokenValue(QStringLiteral("Bearing"), m_bearing->text()));
    m_kilometres->setAccessibleName(spokenValue(QStringLiteral("Kilometers"), m_kilometres->text()));
    m_points->setAccessibleName(spokenValue(QStringLiteral("Points"), m_points->text()));
}

void EntryLine::setPointsText(const QString& text) {
    m_points->setText(text);
    m_pointsColours = pointsColours(toLatin1(text), m_pointsColours);
    const auto& bg = m_pointsColours.background;
    const auto& fg = m_pointsColours.text;
    paint(m_points, QColor(bg.red, bg.green, bg.blue), QColor(fg.red, fg.green, fg.blue));
}

void EntryLine::setMessage(const QString& text, Announce announce) {
    const bool changed = m_dialog->text() != text;
    m_dialog->setFittedText(text);
    // The message is part of the line's name, so that a screen reader reads what it says, not
    // only that there is a message line.
    m_dialog->setAccessibleName(text.trimmed().isEmpty() ? QStringLiteral("Message")
                                                         : QStringLiteral("Message: ") + text.trimmed());
    if (changed && !text.trimmed().isEmpty() && QAccessible::isActive()) {
        QAccessibleEvent event(m_dialog, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
    if (announce == Announce::Yes) {
        // A refusal the operator must act on is spoken at once, wherever the keyboard is.
        m_announcer->announce(text);
    }
}

QString EntryLine::lastAnnouncement() const {
    return m_announcer->lastAnnouncement();
}

void EntryLine::paintMessageLine(int r, int g, int b) {
    paint(m_dialog, QColor(r, g, b));
}

void EntryLine::setDupeList(const QString& text, bool teal) {
    m_dupe->setText(text);
    paint(m_dupe, teal ? kTeal : m_dupe->parentWidget()->palette().color(QPalette::Button));
}

void EntryLine::showDuplicatesText(const std::string& text, bool white) {
    m_dupe->setText(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
    paint(m_dupe, white ? QColor(Qt::white) : m_dupe->parentWidget()->palette().color(QPalette::Button));
}

QString EntryLine::dupeListText() const {
    return m_dupe->text();
}

void EntryLine::togglePostContest() {
    m_postContestMode = !m_postContestMode;
    for (QWidget* w : {static_cast<QWidget*>(m_postTime), static_cast<QWidget*>(m_postDate),
                       static_cast<QWidget*>(m_postTimeCaption), static_cast<QWidget*>(m_postDateCaption)}) {
        w->setVisible(m_postContestMode);
    }
    if (!m_postContestMode) {
        // The date and time fields are gone: typing goes on in the call field, not in whatever
        // the toolkit would pick next (the contact list).
        m_lastField = m_call;
        m_call->setFocus(Qt::OtherFocusReason);
    }
    emit postContestModeChanged(m_postContestMode);
}

} // namespace corvane
