#pragma once
// The "Score Statistics" frame of the main window: total QSO points, total score and the
// hourly rates of the last 20 and 60 minutes.

#include <QObject>

class QLabel;
class QWidget;

namespace corvane {

class ContactLog;
struct DateTime;

class ScorePanel : public QObject {
    Q_OBJECT
public:
    explicit ScorePanel(QWidget* central);

    void showTotals(const ContactLog& log, int powerCategory);
    void showRates(const ContactLog& log, const DateTime& utcNow);
    QString totalScoreText() const;

private:
    void speakValues();
    QLabel* m_totalPoints = nullptr; // lblTotSec
    QLabel* m_totalScore = nullptr;  // lblTotScore
    QLabel* m_rate20 = nullptr;      // lblAQSO20
    QLabel* m_rate60 = nullptr;      // lblAQSO60
};

} // namespace corvane
