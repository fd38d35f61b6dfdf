#pragma once
// The "CW Strings" window (frmCWStrings): the eleven messages and "Keyboard" for F12. A click
// on a message or its key sends it as the key would; keys typed here go to the main window's
// CW handling. "Done" minimizes it.

#include <QWidget>
#include <array>

class QLabel;

namespace corvane::cw {

class CwController;

class CwStringsWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "CW Strings";

    CwStringsWindow(CwController& controller, QWidget* parent = nullptr);

    // The texts from the CW setup window's settings (done every time the window is activated).
    void refresh();
    // A click on row key (1 .. 12).
    void clickRow(int key);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    CwController& m_cw;
    std::array<QLabel*, 12> m_keys{};
    std::array<QLabel*, 12> m_texts{};
};

} // namespace corvane::cw
