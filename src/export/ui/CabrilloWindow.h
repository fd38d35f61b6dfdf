#pragma once
// "Summary Sheet Information": the category and personal details of the Cabrillo file, and
// the button that writes it from the log.

#include <QDialog>

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace corvane {

class ContactLog;
class Dialogs;
class SettingsStore;
class SharedPrefs;
struct Preferences;

class CabrilloWindow : public QDialog {
    Q_OBJECT
public:
    // totalScoreText is the total score as the main window shows it; the file dialog
    // proposes <userDataFolder>/<call stem>.log.
    CabrilloWindow(Dialogs& dialogs, SettingsStore& settings, SharedPrefs& sharedPrefs, const ContactLog& log,
                   const Preferences& prefs, QString totalScoreText, QString userDataFolder, QWidget* parent = nullptr);

    // The "Write Cabrillo Log File" button: asks for the file, writes it, reports, and
    // remembers the personal details. False when cancelled or the file could not be written.
    bool writeCabrillo();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void rememberDetails();

    Dialogs& m_dialogs;
    SettingsStore& m_settings;
    SharedPrefs& m_sharedPrefs;
    const ContactLog& m_log;
    const Preferences& m_prefs;
    QString m_totalScoreText;
    QString m_userDataFolder;

    QLineEdit* m_name = nullptr;
    QLineEdit* m_address1 = nullptr;
    QLineEdit* m_address2 = nullptr;
    QLineEdit* m_email = nullptr;
    QLineEdit* m_club = nullptr;
    QLineEdit* m_operators = nullptr;
    QLineEdit* m_soapbox = nullptr;
    QRadioButton* m_single = nullptr;
    QRadioButton* m_multi = nullptr;
    QPushButton* m_write = nullptr;
    QPushButton* m_done = nullptr;
};

} // namespace corvane
