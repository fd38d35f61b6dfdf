#pragma once
// The tune panel (frmRigTune, " Change Frequency and Mode (Ctrl G (Go))"): a typed frequency,
// band buttons, up and down steps, the mode buttons and a scan from one frequency to another.
// It tunes through the program's tuner (the rig link); it holds no numbers of its own.

#include "core/Tuner.h"

#include <QDialog>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QPushButton;

namespace corvane::rig {

class TuneWindow final : public QDialog {
    Q_OBJECT
public:
    // `selectedRig`: the model name; "None" makes Go do nothing.
    TuneWindow(Tuner& tuner, std::function<std::string()> selectedRig, QWidget* parent = nullptr);

    // The buttons and the scan timer's tick, public for tests.
    void go();
    void band(int index);
    void step(int index);
    void mode(const std::string& name);
    void scanTick();
    QTimer& scanTimer() { return m_scanTimer; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPushButton* addButton(const QString& name, const QString& caption, double left, double top, double width);
    QLineEdit* addBox(const char* name, double left, double top, double width, const QString& text);
    void frequencyChanged();

    Tuner& m_tuner;
    std::function<std::string()> m_selectedRig;
    QLineEdit* m_frequency = nullptr;
    QLineEdit* m_from = nullptr;
    QLineEdit* m_to = nullptr;
    QCheckBox* m_scan = nullptr;
    QButtonGroup* m_scanSteps = nullptr;
    QPushButton* m_go = nullptr;
    QPushButton* m_done = nullptr;
    std::vector<QPushButton*> m_steps;
    QTimer m_scanTimer;
};

} // namespace corvane::rig
