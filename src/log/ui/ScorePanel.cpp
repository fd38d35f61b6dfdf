#include "log/ui/ScorePanel.h"

#include "log/ContactLog.h"
#include "log/score/Stats.h"
#include "ui/WidgetText.h"

#include <QGroupBox>
#include <QLabel>

namespace corvane {

ScorePanel::ScorePanel(QWidget* central) : QObject(central) {
    auto* stats = new QGroupBox(QStringLiteral("Score Statistics"), central);
    stats->setObjectName(QStringLiteral("frameScore"));
    stats->setAccessibleName(QStringLiteral("Score statistics"));
    stats->setAccessibleDescription(QStringLiteral("Points, score and contact rates of this log"));
    FormScaler::place(stats, {5600, 2160, 3700, 1260}, 8.25);
    const char* const captions[] = {"Total QSO Points ........", "Total Score..................",
                                    "QSOs / Hr (last 20 min)", "QSOs / Hr (last 60 min)"};
    const char* const spoken[] = {"Total QSO points", "Total score", "Contacts per hour, last 20 minutes",
                                  "Contacts per hour, last 60 minutes"};
    const char* const names[] = {"lblTotSec", "lblTotScore", "lblAQSO20", "lblAQSO60"};
    QLabel** values[] = {&m_totalPoints, &m_totalScore, &m_rate20, &m_rate60};
    for (int i = 0; i < 4; ++i) {
        makeLabel(stats, nullptr, QString::fromLatin1(captions[i]), {120, 280.0 + i * 230, 2300, 230}, 8.25);
        *values[i] = makeLabel(stats, names[i], QStringLiteral("0"), {2500, 280.0 + i * 230, 1100, 230}, 8.25, true);
        (*values[i])->setAccessibleName(QString::fromLatin1(spoken[i]));
        (*values[i])->setAccessibleDescription(QString::fromLatin1(spoken[i]) + QStringLiteral(" of this log"));
    }
    speakValues();
}

void ScorePanel::showTotals(const ContactLog& log, int powerCategory) {
    const ScoreTexts texts = scoreTexts(log.totalPoints(), powerCategory);
    m_totalPoints->setText(fromLatin1(texts.totalPoints));
    m_totalScore->setText(fromLatin1(texts.totalScore));
    speakValues();
}

void ScorePanel::speakValues() {
    // A screen reader reads a label by its name: the figure goes with it.
    const std::pair<QLabel*, const char*> values[] = {{m_totalPoints, "Total QSO points"},
                                                      {m_totalScore, "Total score"},
                                                      {m_rate20, "Contacts per hour, last 20 minutes"},
                                                      {m_rate60, "Contacts per hour, last 60 minutes"}};
    for (const auto& [label, caption] : values) {
        label->setAccessibleName(QString::fromLatin1(caption) + QStringLiteral(": ") + label->text());
    }
}

void ScorePanel::showRates(const ContactLog& log, const DateTime& utcNow) {
    if (const auto rates = hourlyRates(log, utcNow)) {
        m_rate20->setText(QString::number(rates->perHourLast20));
        m_rate60->setText(QString::number(rates->perHourLast60));
        speakValues();
    }
}

QString ScorePanel::totalScoreText() const {
    return m_totalScore->text();
}

} // namespace corvane
