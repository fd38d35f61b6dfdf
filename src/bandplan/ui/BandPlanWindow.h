#pragma once
// The privileges window (frmBandPlan, "Frequency Privileges"): one licence class at a time,
// every band the class may use as a bar with the class's segments on it, blue for CW and green
// for the rest. It reads BandPlan.txt each time it opens and charts the Extra class at once.

#include "bandplan/BandPlan.h"

#include <QDialog>
#include <string>
#include <vector>

class QLabel;
class QFrame;

namespace corvane {
class Dialogs;
}

namespace corvane::bandplan {

class BandPlanWindow final : public QDialog {
    Q_OBJECT
public:
    BandPlanWindow(Dialogs& dialogs, std::string workingDirectory, QWidget* parent = nullptr);

    // Reads the file; a missing or damaged file is reported and what was read stays charted.
    void load();
    // A class button: the heading and the chart for the class letter.
    void chooseClass(std::string_view letter);

    const BandPlan& plan() const { return m_plan; }
    const Chart& chart() const { return m_chart; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void draw();
    void clearChart();

    Dialogs& m_dialogs;
    std::string m_workingDirectory;
    BandPlan m_plan;
    Chart m_chart;
    std::string m_letter;
    QLabel* m_heading = nullptr;
    QLabel* m_effective = nullptr;
    QFrame* m_rule = nullptr;
    std::vector<QLabel*> m_chartLabels;
};

} // namespace corvane::bandplan
