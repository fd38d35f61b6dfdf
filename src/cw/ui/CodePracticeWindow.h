#pragma once
// The code practice window (frmCodePractice, "On the Air Code Practice"): random groups,
// pasted or typed text sent on the air through the normal CW path.

#include "core/Listeners.h"
#include "cw/CodePractice.h"

#include <QDialog>
#include <memory>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;

namespace corvane::cw {

class CwController;

class CodePracticeWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "On the Air Code Practice";

    CodePracticeWindow(CwController& controller, QWidget* parent = nullptr);
    ~CodePracticeWindow() override;

    void generate();
    void send();
    void stop();
    void stepSpeed(int delta);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void keyboardKey(QKeyEvent* event);
    void appendSent(char c);

    CwController& m_cw;
    QPlainTextEdit* m_toSend = nullptr;
    QPlainTextEdit* m_sent = nullptr;
    QLineEdit* m_groups = nullptr;
    QLineEdit* m_characters = nullptr;
    QRadioButton* m_lettersOnly = nullptr;
    QRadioButton* m_all = nullptr;
    QLabel* m_speed = nullptr;
    QLineEdit* m_keyboard = nullptr;
    std::unique_ptr<PracticeSender> m_sender;
    std::mt19937 m_random;
    Subscription m_idle; // released before the sender it drives goes
};

} // namespace corvane::cw
