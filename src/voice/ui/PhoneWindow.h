#pragma once
// The voice keyer window (PhoneFrm, "Phone Wave Selections"): a wave file per function key
// F1 to F9, the push-to-talk port and line, the parallel address, "Test" (plays F1), the
// repeat pause with "Stop", and "Done", which writes wave2.txt. The keyer behind it keeps
// playing while the window is hidden; closing the window stops the playback and releases
// push-to-talk.

#include "voice/VoiceKeyer.h"

#include <QDialog>
#include <array>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace corvane {

struct AppContext;

class PhoneWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Phone Wave Selections";

    PhoneWindow(AppContext& context, VoiceKeyer& keyer, QWidget* parent = nullptr);

    // Fills the fields from the keyer's settings.
    void showSettings();
    // The buttons, public for tests.
    void test();
    void stop();
    void done();
    void browse(int key);
    // The loop ended from outside (a key on the main window): "Stop" goes away.
    void repeatStopped();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QLabel* addLabel(const QString& text, double left, double top, double width, double height = 280);
    QLineEdit* addField(const char* name, double left, double top, double width, const QString& accessibleName,
                        const QString& description);
    QPushButton* addButton(const char* name, const QString& caption, double left, double top, double width,
                           const QString& description);
    QRadioButton* addOption(const char* name, const QString& caption, double left, double top,
                            const QString& description);
    void portFieldLeft();
    void loopFieldLeft();
    void takeFields();
    bool writeSettings();

    AppContext& m_ctx;
    VoiceKeyer& m_keyer;
    bool m_filling = false;
    std::array<QLineEdit*, 9> m_paths{}; // Text1 .. Text9
    QLineEdit* m_port = nullptr;         // Text10
    QLineEdit* m_portDevice = nullptr;   // txtPttDevice, the device the port number stands for
    QLineEdit* m_address = nullptr;      // Text11
    QLineEdit* m_loop = nullptr;         // txtPHLoop
    QRadioButton* m_optRts = nullptr;
    QRadioButton* m_optDtr = nullptr;
    QRadioButton* m_optParallel = nullptr;
    QPushButton* m_test = nullptr;
    QPushButton* m_stop = nullptr;
    QPushButton* m_done = nullptr;
};

} // namespace corvane
