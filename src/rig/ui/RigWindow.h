#pragma once
// The rig interface window (RigControlfrm, " Rig Interface Setup"): the radio model, the
// line, the commands that read frequency and mode, the poll rate and what is handed to the
// main window; Test, End Test, Done (RigCntrl.txt), the command tester and the displays of
// what the radio answered. The link does the talking; the window shows it and keeps its
// settings in step with the controls.

#include "rig/RigSettings.h"

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTextEdit;

namespace corvane {
class Dialogs;
class PortDeviceField;
class SettingsStore;
} // namespace corvane

namespace corvane::rig {

class RigLink;

class RigWindow final : public QDialog {
    Q_OBJECT
public:
    struct Hooks {
        std::string workingDirectory;                               // RigCntrl.txt and BandPlan.txt live here
        std::function<void(const std::string&)> selectedRigChanged; // SelectedRig follows the list
        std::function<bool()> savePreferences;                      // the main window's SavePref
        std::function<std::string()> pegasusFolder;                 // where the Pegasus files are exchanged
        std::function<void(const std::string&)> setPegasusFolder;
        std::function<void()> runTester;   // the command tester, modal
        SettingsStore* settings = nullptr; // where port numbers are mapped to devices
    };

    RigWindow(Dialogs& dialogs, RigLink& link, Hooks hooks, QWidget* parent = nullptr);
    ~RigWindow() override;

    // Load: the model list, RigCntrl.txt, the band plan's "E" rows for tuning.
    void load();
    // The buttons, public for the feature and the tests.
    bool test();
    void endTest();
    void done();
    void changeFrequencyButton();
    void copyUnprocessed();
    void selectModel(const QString& name); // a click on a list entry

    std::string settingsPath() const;
    // Whether RigCntrl.txt was written by the last Done.
    bool lastSaveOk() const { return m_saveOk; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QLabel* addLabel(const QString& text, double left, double top, double width, double height = 270,
                     QWidget* parent = nullptr);
    QPushButton* addButton(const char* name, const QString& caption, double left, double top, double width);
    QButtonGroup* addOptions(const char* frameName, const QString& title, const char* optionPrefix,
                             const std::vector<QString>& captions, double left, double top, double width,
                             int columns = 1, int extraRows = 0);
    QCheckBox* addCheck(const char* name, const QString& caption, double left, double top, double width);
    void showSettings();
    void takeOptions();
    // The rigctld host and port fields into the settings; a port that is not 1 to 65535 is
    // refused with a message and the field shows the port in use again.
    bool takeRigctldAddress();
    void setHexBox(bool enabled, bool checked);
    void refreshDisplays();
    void readingLost();
    void showReading();
    void pollingChanged(bool polling);

    Dialogs& m_dialogs;
    RigLink& m_link;
    Hooks m_hooks;
    QListWidget* m_models = nullptr;
    QButtonGroup* m_baud = nullptr;
    QButtonGroup* m_parity = nullptr;
    QButtonGroup* m_dataBits = nullptr;
    QButtonGroup* m_stopBits = nullptr;
    QButtonGroup* m_port = nullptr;
    PortDeviceField* m_portDevice = nullptr; // txtRigDevice, the device of the chosen port
    QButtonGroup* m_power = nullptr;
    QButtonGroup* m_poll = nullptr;
    QButtonGroup* m_modeBy = nullptr;
    QLineEdit* m_freqCommand = nullptr;
    QLineEdit* m_modeCommand = nullptr;
    QLineEdit* m_pegasusFolder = nullptr;
    QLineEdit* m_rigctldHost = nullptr;
    QLineEdit* m_rigctldPort = nullptr;
    QCheckBox* m_toHex = nullptr;
    QCheckBox* m_fromHex = nullptr;
    QCheckBox* m_useFrequency = nullptr;
    QLabel* m_icomNote = nullptr;
    QLabel* m_frequency = nullptr;
    QLabel* m_mode = nullptr;
    QLineEdit* m_unprocessed = nullptr;
    QLabel* m_polling = nullptr;
    QTextEdit* m_status = nullptr; // txtStatus: what the link is doing, or why it is not
    QPushButton* m_endTest = nullptr;
    QPushButton* m_done = nullptr;
    bool m_loading = false;
    bool m_saveOk = false;
};

} // namespace corvane::rig
