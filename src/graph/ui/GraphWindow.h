#pragma once
// The activity graph (GraphQSO): the QSO rate over the whole log as one curve, drawn anew
// from the log each time the window opens.

#include "graph/RateGraph.h"

#include <QDialog>
#include <array>

class QFrame;
class QLabel;
class QPushButton;

namespace corvane {

class ContactLog;
class Dialogs;

class GraphWindow : public QDialog {
    Q_OBJECT
public:
    GraphWindow(Dialogs& dialogs, const ContactLog& log, QWidget* parent = nullptr);

    // Computes the graph from the log and sets the labels; with fewer than 7 contacts it
    // tells the operator instead. The curve is painted from the result.
    void redraw();
    // The background button (Command1): black and white schemes in turn, then a redraw.
    void toggleBackground();

    const RateGraph& graph() const { return m_graph; }
    bool blackBackground() const { return m_black; }
    // The curve's plot area in window pixels, from the axis lines.
    PlotArea plotAreaPixels() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void applyScheme();

    Dialogs& m_dialogs;
    const ContactLog& m_log;
    RateGraph m_graph;
    bool m_black = true;

    std::array<QLabel*, 15> m_time{};
    std::array<QLabel*, 15> m_date{};
    std::array<QLabel*, 17> m_value{};
    QLabel* m_caption = nullptr;
    QLabel* m_bandCaption = nullptr;
    QLabel* m_bandLabel = nullptr;
    std::array<QFrame*, 4> m_axis{}; // left, right, bottom, top
    QPushButton* m_background = nullptr;
};

} // namespace corvane
