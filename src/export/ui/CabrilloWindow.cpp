#include "export/ui/CabrilloWindow.h"

#include "core/SettingsStore.h"
#include "core/SharedPrefs.h"
#include "export/Cabrillo.h"
#include "log/ContactLog.h"
#include "log/station/Preferences.h"
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

constexpr TwipRect kDesign{0, 0, 7800, 7160};
constexpr double kFontPoints = 9.75;

QString fromStore(const SettingsStore& settings, std::string_view key) {
    return QString::fromStdString(settings.get(std::string(key)));
}

// File texts are 8-bit, as the log is.
std::string fileText(const QString& text) {
    return text.toLatin1().toStdString();
}

QString toQString(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

CabrilloWindow::CabrilloWindow(Dialogs& dialogs, SettingsStore& settings, SharedPrefs& sharedPrefs,
                               const ContactLog& log, const Preferences& prefs, QString totalScoreText,
                               QString userDataFolder, QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs), m_settings(settings), m_sharedPrefs(sharedPrefs), m_log(log), m_prefs(prefs),
      m_totalScoreText(std::move(totalScoreText)), m_userDataFolder(std::move(userDataFolder)) {
    setObjectName(QStringLiteral("frmCabrillo"));
    setWindowTitle(toQString(exchange::cabrillo::kWindowTitle));
    setModal(true);

    struct Row {
        const char* caption;
        const char* name;
        QLineEdit** field;
        QString initial;
    };
    const Row rows[] = {
        {"Your Name:", "txtName", &m_name, fromStore(settings, exchange::cabrillo::keys::kName)},
        {"Address Line 1:", "txtAddress1", &m_address1, fromStore(settings, exchange::cabrillo::keys::kAddressLine1)},
        {"Address Line 2:", "txtAddress2", &m_address2, fromStore(settings, exchange::cabrillo::keys::kAddressLine2)},
        {"Email Address:", "txtEmail", &m_email, fromStore(settings, exchange::cabrillo::keys::kEmail)},
        {"Club Name (if club participation):", "txtClub", &m_club,
         fromStore(settings, exchange::cabrillo::keys::kClub)},
        {"If multioperator, list calls of all operators:", "txtOperators", &m_operators, QString()},
        {"Soapbox (Add any comments you would like to make about the contest):", "txtSoapbox", &m_soapbox, QString()},
    };
    double top = 120;
    for (const Row& row : rows) {
        auto* label = new QLabel(QString::fromLatin1(row.caption), this);
        FormScaler::place(label, {240, top, 7320, 300}, kFontPoints);
        auto* field = new QLineEdit(row.initial, this);
        field->setObjectName(QString::fromLatin1(row.name));
        label->setBuddy(field); // a screen reader reads the caption as the field's name
        field->setAccessibleDescription(QStringLiteral("Written into the Cabrillo file's header."));
        FormScaler::place(field, {240, top + 300, 7320, 380}, kFontPoints);
        *row.field = field;
        top += 780;
    }
    m_operators->installEventFilter(this);

    auto* frame = new QGroupBox(QStringLiteral("Category:"), this);
    frame->setObjectName(QStringLiteral("fraCategory"));
    FormScaler::place(frame, {240, 5640, 3600, 1080}, kFontPoints);
    m_single = new QRadioButton(QStringLiteral("Single Op"), frame);
    m_single->setObjectName(QStringLiteral("optSingleOp"));
    FormScaler::place(m_single, {120, 420, 1680, 400}, kFontPoints);
    m_multi = new QRadioButton(QStringLiteral("Multi Op"), frame);
    m_multi->setObjectName(QStringLiteral("optMultiOp"));
    FormScaler::place(m_multi, {1800, 420, 1680, 400}, kFontPoints);
    m_single->setChecked(true);

    m_write = new QPushButton(QStringLiteral("Write Cabrillo Log File"), this);
    m_write->setObjectName(QStringLiteral("cmdWrite"));
    m_write->setAutoDefault(false);
    FormScaler::place(m_write, {4080, 5700, 3480, 480}, kFontPoints);
    connect(m_write, &QPushButton::clicked, this, [this] { writeCabrillo(); });

    m_done = new QPushButton(QStringLiteral("Done"), this);
    m_done->setObjectName(QStringLiteral("cmdDone"));
    m_done->setAutoDefault(false);
    FormScaler::place(m_done, {4080, 6300, 3480, 480}, kFontPoints);
    connect(m_done, &QPushButton::clicked, this, &QDialog::accept);

    FormScaler::scale(this, ScaleVariant::ScaleToScreen, kDesign);
    m_name->setFocus();
}

bool CabrilloWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_operators && event->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        if (text.size() == 1 && text[0] >= QLatin1Char('a') && text[0] <= QLatin1Char('z')) {
            m_operators->insert(text[0].toUpper());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool CabrilloWindow::writeCabrillo() {
    const std::string& ownCall = m_prefs.ownCall;
    const QString proposed =
        m_userDataFolder + QLatin1Char('/') + toQString(callFileStem(ownCall)) + QStringLiteral(".log");
    const auto chosen =
        m_dialogs.saveFile(this, QStringLiteral("Save As"), proposed, toQString(exchange::cabrillo::kFileFilter));
    if (!chosen || chosen->isEmpty()) {
        return false;
    }

    CabrilloInput in;
    in.records = m_log.records();
    in.ownCall = ownCall;
    in.powerCategory = m_prefs.powerCategory;
    in.totalScoreText = fileText(m_totalScoreText);
    in.category = m_multi->isChecked() ? OperatorCategory::Multi : OperatorCategory::Single;
    in.operators = fileText(m_operators->text());
    in.club = fileText(m_club->text());
    in.name = fileText(m_name->text());
    in.addressLine1 = fileText(m_address1->text());
    in.addressLine2 = fileText(m_address2->text());
    in.email = fileText(m_email->text());
    in.soapbox = fileText(m_soapbox->text());

    const FileResult written = writeCabrilloFile(chosen->toStdString(), in);
    m_dialogs.beep();
    if (!written.ok) {
        m_dialogs.message(this, toQString(exchange::cabrillo::kFailedTitle), QString::fromStdString(written.error),
                          MsgButtons::Ok, MsgIcon::Critical);
        return false;
    }
    m_dialogs.message(this, toQString(exchange::cabrillo::kWrittenTitle),
                      QString::fromStdString(cabrilloWrittenMessage(chosen->toStdString())), MsgButtons::Ok,
                      MsgIcon::Information);
    m_done->setFocus();
    rememberDetails();
    return true;
}

void CabrilloWindow::rememberDetails() {
    struct Detail {
        QLineEdit* field;
        std::string_view key;
        std::string_view tag;
    };
    const Detail details[] = {
        {m_name, exchange::cabrillo::keys::kName, exchange::cabrillo::keys::kSharedName},
        {m_address1, exchange::cabrillo::keys::kAddressLine1, exchange::cabrillo::keys::kSharedAddressLine1},
        {m_address2, exchange::cabrillo::keys::kAddressLine2, exchange::cabrillo::keys::kSharedAddressLine2},
        {m_email, exchange::cabrillo::keys::kEmail, exchange::cabrillo::keys::kSharedEmail},
        {m_club, exchange::cabrillo::keys::kClub, exchange::cabrillo::keys::kSharedClub},
    };
    for (const Detail& d : details) {
        m_settings.set(std::string(d.key), d.field->text().trimmed().toStdString());
    }
    FileResult saved;
    for (std::size_t i = 0; i < std::size(details); ++i) {
        const bool last = i + 1 == std::size(details);
        saved = m_sharedPrefs.set(details[i].tag, fileText(details[i].field->text().trimmed()), last);
    }
    if (!saved.ok) {
        m_dialogs.message(this, toQString(exchange::cabrillo::kFailedTitle),
                          QString::fromStdString(m_sharedPrefs.path() + "  " + saved.error), MsgButtons::Ok,
                          MsgIcon::Warning);
    }
}

} // namespace corvane
