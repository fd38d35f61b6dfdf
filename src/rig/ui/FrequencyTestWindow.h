#pragma once
// The command tester (frmFrequencyTest, "Test Change Frequency Function"): a hand-typed command
// sent as it stands (or as hex bytes), and a frequency sent through ChangeFrequency. What the
// radio answers shows in the rig window's unprocessed-data display, as polling reads it.

#include <QDialog>

class QCheckBox;
class QLineEdit;

namespace corvane::rig {

class RigLink;

class FrequencyTestWindow final : public QDialog {
    Q_OBJECT
public:
    explicit FrequencyTestWindow(RigLink& link, QWidget* parent = nullptr);

    // The two "Send" buttons, public for tests.
    void sendCommand();
    void sendFrequency();

private:
    RigLink& m_link;
    QLineEdit* m_command = nullptr;
    QCheckBox* m_hex = nullptr;
    QLineEdit* m_frequency = nullptr;
};

} // namespace corvane::rig
