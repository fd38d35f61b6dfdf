#include "graph/ui/GraphWindow.h"

#include "core/DateTime.h"
#include "log/ContactLog.h"
#include "support/Contacts.h"
#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace corvane;
using corvane::test::ScriptedDialogs;

namespace {

ContactLog logOf(int contacts) {
    std::vector<QsoRecord> records;
    const DateTime start{2012, 12, 29, 23, 0, 0};
    for (int i = 0; i < contacts; ++i) {
        const DateTime at = addSeconds(start, i * 1800);
        records.push_back(
            test::Contact("K" + std::to_string(i) + "ABC").date(formatDateSlash(at)).time(formatTimeHms(at)));
    }
    ContactLog log;
    log.assign(records);
    return log;
}

QString labelText(const GraphWindow& w, const QString& name) {
    const auto* label = w.findChild<QLabel*>(name);
    return label ? label->text() : QStringLiteral("(missing)");
}

} // namespace

TEST(GraphWindow, SixContactsShowTheMessageAndNoLabels) {
    ScriptedDialogs dialogs;
    const ContactLog log = logOf(6);
    GraphWindow w(dialogs, log);
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].title, QStringLiteral("Not Enough Contacts to Graph."));
    EXPECT_EQ(dialogs.messages()[0].text,
              QStringLiteral("The graph will not display with less than 7 contacts.  The graph becomes more "
                             "meaningful as several hours of contest logging are accumulated."));
    EXPECT_EQ(labelText(w, QStringLiteral("lblTime0")), QString());
}

TEST(GraphWindow, SevenContactsSetTheLabelsAndTheBackgroundToggles) {
    ScriptedDialogs dialogs;
    const ContactLog log = logOf(7); // 23:00 to 02:00, half an hour apart
    GraphWindow w(dialogs, log);
    EXPECT_TRUE(dialogs.messages().empty());
    EXPECT_EQ(w.windowTitle(), QStringLiteral(" Activity Graph - QSOs per Hour Rate   (# QSOs over 10 minutes X 6)"));
    EXPECT_EQ(w.graph().status, RateGraph::Status::Ready);
    EXPECT_EQ(labelText(w, QStringLiteral("lblTime0")), QStringLiteral("23:00"));
    EXPECT_EQ(labelText(w, QStringLiteral("lblDate0")), QStringLiteral("12/29"));
    EXPECT_EQ(labelText(w, QStringLiteral("lblTime14")), QStringLiteral("02:00"));
    EXPECT_EQ(labelText(w, QStringLiteral("lblDate14")), QStringLiteral("12/30"));
    EXPECT_EQ(labelText(w, QStringLiteral("lblY16")), QString::fromStdString(w.graph().valueLabels[16]));

    const PlotArea area = w.plotAreaPixels();
    EXPECT_LT(area.leftX, area.rightX);
    EXPECT_LT(area.topY, area.bottomY);

    auto* button = w.findChild<QPushButton*>(QStringLiteral("Command1"));
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), QStringLiteral("Black Background"));
    EXPECT_TRUE(w.blackBackground());
    button->click();
    EXPECT_EQ(button->text(), QStringLiteral("White Background"));
    EXPECT_FALSE(w.blackBackground());
    EXPECT_EQ(w.palette().color(QPalette::Window), QColor(Qt::white));
    button->click();
    EXPECT_EQ(button->text(), QStringLiteral("Black Background"));
    EXPECT_TRUE(w.blackBackground());
    w.grab(); // paints the curve
}
