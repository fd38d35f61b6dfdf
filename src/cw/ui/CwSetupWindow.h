#pragma once
// The CW setup window (CWFrm, "CW String Selections"): the function-key messages, the keying
// options, speed and word space, the timing options and the repeat pause. Its fields stay
// for the whole run; every change goes straight into the send controller's settings.

#include "core/Listeners.h"
#include "cw/CwSettings.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace corvane {
class PortDeviceField;
}

namespace corvane::cw {

class CwController;

class CwSetupWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "CW String Selections";

    CwSetupWindow(CwController& controller, QWidget* parent = nullptr);

    // Fills every field from the controller's settings.
    void showSettings();
    void showKeyingOption();
    void showSpeed(const QString& speedWpm);

    // The buttons, public for tests and the menu.
    void done();
    void test();
    void openCodePractice();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QLineEdit* addField(const char* name, const QString& text, double left, double top, double width);
    QLabel* addLabel(const QString& text, double left, double top, double width, double height = 255);
    QPushButton* addButton(const char* name, const QString& caption, double left, double top, double width);
    QRadioButton* addOption(const char* name, const QString& caption, double left, double top, double width);
    void chooseTiming(int method);
    void portFieldLeft();
    void speedFieldLeft();
    void wordSpaceChanged();
    void wordSpaceLeft();
    void repeatFieldLeft();
    void stepSpeed(int delta);
    void stepWordSpace(int delta);
    void loopFieldChanged();
    void tuneLoop(bool faster);
    void showSerialDevice();

    CwController& m_cw;
    std::array<QLineEdit*, kMessageCount> m_messages{};
    QLineEdit* m_port = nullptr; // Text10
    PortDeviceField* m_serialDevice = nullptr;
    QLineEdit* m_speed = nullptr;   // Text11
    QLineEdit* m_address = nullptr; // Text14
    QLabel* m_parallelDevice = nullptr;
    QLineEdit* m_wordSpace = nullptr; // txtSpace
    QLineEdit* m_loopDelay = nullptr; // txtLoop
    QLabel* m_loopDelayLabel = nullptr;
    QPushButton* m_loopFaster = nullptr;
    QPushButton* m_loopSlower = nullptr;
    QLineEdit* m_repeat = nullptr;  // txtCWLoop
    QCheckBox* m_display = nullptr; // Check1
    QRadioButton* m_optNone = nullptr;
    QRadioButton* m_optRts = nullptr;
    QRadioButton* m_optDtr = nullptr;
    QRadioButton* m_optPrinter = nullptr;
    QRadioButton* m_optWinKey = nullptr;
    QPushButton* m_configureWinKey = nullptr;
    QRadioButton* m_optTimer = nullptr;
    QRadioButton* m_optLoop = nullptr;
    QRadioButton* m_optSleep = nullptr;
    QLabel* m_sending = nullptr; // "Sending!"
    QPushButton* m_done = nullptr;
    bool m_filling = false;
    Subscription m_idle; // the send loop's end hides "Sending!"
};

} // namespace corvane::cw
