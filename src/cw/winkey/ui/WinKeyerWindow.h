#pragma once
// The WinKeyer window (frmWinKey, " WinKey Setup"): the keyer's port and settings, Open and
// Close with the keyer's status and version, Test, Buffer Test, Stop and a typing field.
// Everything it does is the controller's; the window shows it.

#include "cw/winkey/WinKeyerController.h"

#include <QDialog>
#include <functional>
#include <span>
#include <vector>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace corvane {
class PortDeviceField;
class SettingsStore;
} // namespace corvane

namespace corvane::cw {

class WinKeyerWindow final : public QDialog, public WinKeyerView {
    Q_OBJECT
public:
    struct Hooks {
        std::function<std::string()> ownCall; // the station's own call, for "Test"
        // "&Done": writes WK.txt; false when it could not (the operator has been told why), and
        // the window then stays open so that the settings are not lost.
        std::function<bool()> save;
        SettingsStore* settings = nullptr; // the port's device is shown beside its number when given
    };

    WinKeyerWindow(WinKeyerController& controller, Hooks hooks, QWidget* parent = nullptr);
    ~WinKeyerWindow() override;

    // WinKeyerView.
    void showStatus(const std::string& text) override;
    void showVersion(const std::string& text) override;
    void showFields() override;
    bool isShown() const override { return isVisible(); }
    void focusDone() override;

    // The buttons, public for tests.
    void open();
    void close();
    void done();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QLineEdit* addField(const char* name, double left, double top, double width);
    QLabel* addLabel(const QString& text, double left, double top, double width, QWidget* parent = nullptr);
    QPushButton* addButton(const char* name, const QString& caption, double left, double top, double width);
    QButtonGroup* addChoices(const char* frameName, const QString& title, std::span<const WinKeyerChoice> choices,
                             double left, double top, const std::function<void(std::uint8_t)>& chosen);
    void fieldLeft(QObject* field);
    void selectChoice(QButtonGroup* group, std::uint8_t value);

    WinKeyerController& m_wk;
    Hooks m_hooks;
    QLineEdit* m_comPort = nullptr;
    PortDeviceField* m_comDevice = nullptr; // txtComDevice
    QLineEdit* m_speed = nullptr;
    QLineEdit* m_weight = nullptr;
    QLineEdit* m_leadIn = nullptr;
    QLineEdit* m_tail = nullptr;
    QLineEdit* m_ratio = nullptr;
    QLineEdit* m_typing = nullptr;
    QLabel* m_status = nullptr;
    QLabel* m_version = nullptr;
    QButtonGroup* m_pins = nullptr;
    QButtonGroup* m_modes = nullptr;
    QPushButton* m_done = nullptr;
    bool m_filling = false;
};

} // namespace corvane::cw
