#pragma once
// " Modify Multiplier Color Selections": the worked and remaining colours of the grid
// map, each changed through the colour chooser and shown on a sample text. The caller
// saves the preferences and reloads the log when the window has closed.

#include <QDialog>

class QLabel;
class QPushButton;

namespace corvane {

class Dialogs;

class ColourWindow : public QDialog {
    Q_OBJECT
public:
    // Colours as 0x00BBGGRR.
    ColourWindow(Dialogs& dialogs, long workedBgr, long remainingBgr, QWidget* parent = nullptr);

    long workedColour() const { return m_worked; }
    long remainingColour() const { return m_remaining; }

private:
    void change(long& colour, QLabel* sample);
    static void paintSample(QLabel* sample, long colour);

    Dialogs& m_dialogs;
    long m_worked = 0;
    long m_remaining = 0;
    QLabel* m_workedSample = nullptr;
    QLabel* m_remainingSample = nullptr;
};

} // namespace corvane
