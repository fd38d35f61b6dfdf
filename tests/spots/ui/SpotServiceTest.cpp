// The spotting service on its own: a source keeps bringing spots with the setup window never
// made, hidden or gone, and the window shows the service's state when it comes back; a box
// the operator leaves open while the link keeps delivering re-enters nothing.

#include "SpotsTestFixture.h"
#include "spots/ui/AgwEngineClient.h"
#include "spots/ui/SpotLabel.h"
#include "support/LoopbackCluster.h"
#include "support/ScriptedAgwServer.h"
#include "support/SpotLines.h"

#include <QEventLoop>
#include <QLabel>
#include <QTreeWidget>
#include <algorithm>

using namespace corvane;
using namespace corvane::test;
using corvane::spots::testing::clusterLine;

namespace {

QByteArray spotLine(const std::string& kHz, const std::string& call) {
    return QByteArray::fromStdString(clusterLine("N2XX", kHz, call, "loud", "0001") + "\r\n");
}

int timesStored(spots::SpotsFeature& feature, const std::string& call) {
    int n = 0;
    for (int i = 0; i < spots::kSpotSlots; ++i) {
        n += feature.store().slot(i).call == call ? 1 : 0;
    }
    return n;
}

// Runs a nested event loop, as a modal box does, until `done` or `ms` have passed.
void runNestedLoop(const std::function<bool()>& done, int ms) {
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done()) {
            loop.quit();
        }
    });
    poll.start(10);
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

TEST(SpotService, ASourceRunsWithTheSetupWindowNeverMadeHiddenOrGone) {
    SpotsFixture f;
    ASSERT_TRUE(f.start());
    LoopbackCluster cluster;
    ASSERT_TRUE(cluster.listen());
    cluster.queueAfterLogin(spotLine("1822.0", "K1ABC"));

    // Never made: the feature's service alone opens the cluster and takes its spots.
    spots::SpotService& service = f.service();
    service.chooseSource(spots::SpotSource::Telnet);
    spots::SpotSettings settings = service.settings();
    settings.telnetHost = "127.0.0.1";
    settings.telnetPort = std::to_string(cluster.port());
    service.setSettings(settings);
    service.open();
    ASSERT_TRUE(f.waitFor([&] { return service.linkState() == spots::SpotService::LinkState::Open; }));
    ASSERT_TRUE(service.send("W1XYZ"));
    ASSERT_TRUE(f.waitFor([&] { return f.feature().store().slot(49).call == "K1ABC"; }));
    f.feature().area().layout(false, service.source());
    EXPECT_TRUE(f.feature().area().spotLabel(49)->isVisible());
    EXPECT_EQ(f.feature().existingSetupWindow(), nullptr);

    // Made, then hidden by Done: the link goes on.
    f.control<QPushButton>("cmdDone")->click();
    ASSERT_FALSE(f.setup().isVisible());
    cluster.send(spotLine("1825.5", "W2AAA"));
    ASSERT_TRUE(f.waitFor([&] { return f.feature().store().slot(49).call == "W2AAA"; }));

    // Gone (not by its close box, which ends the links): spots still reach the list and the map.
    delete f.feature().existingSetupWindow();
    ASSERT_EQ(f.feature().existingSetupWindow(), nullptr);
    cluster.send(spotLine("1830.0", "W3BBB"));
    ASSERT_TRUE(f.waitFor([&] { return f.feature().store().slot(49).call == "W3BBB"; }));
    EXPECT_EQ(f.feature().area().list()->topLevelItem(0)->text(0), QStringLiteral("W3BBB"));
    EXPECT_TRUE(f.feature().area().spotLabel(49)->isVisible());
    EXPECT_TRUE(service.isListening());

    // Made again: it shows the running link as it is, reopening nothing.
    const int connections = cluster.connections();
    f.setup().show();
    EXPECT_EQ(f.setup().source(), QStringLiteral("Telnet"));
    EXPECT_EQ(f.control<QLineEdit>("txtTelnetPort")->text(), QString::number(cluster.port()));
    EXPECT_TRUE(f.control<QLabel>("lblListening")->isVisible());
    EXPECT_EQ(f.control<QLabel>("lblListening")->text(), QStringLiteral("Listening"));
    EXPECT_EQ(f.statusOnScreen(), f.status());
    EXPECT_TRUE(f.status().contains(QStringLiteral("W3BBB")));
    EXPECT_EQ(cluster.connections(), connections);
    cluster.send(spotLine("1831.0", "W4CCC"));
    ASSERT_TRUE(f.waitFor([&] { return f.statusOnScreen().contains(QStringLiteral("W4CCC")); }));
    EXPECT_EQ(timesStored(f.feature(), "W4CCC"), 1);
}

// A box about a typed command stays open while the engine keeps sending spots: the spots are
// taken while it is open, each once; the same failure again opens no second box; and nothing
// is shown from inside the link's handlers.
TEST(SpotService, ABoxLeftOpenWhileSpotsKeepArrivingReentersNothing) {
    SpotsFixture f;
    ScriptedAgwServer engine;
    ASSERT_TRUE(engine.listen());
    ASSERT_TRUE(f.start());
    f.openAgwEngine(engine.port());
    ASSERT_TRUE(f.waitFor([&] { return f.service().timerRunning(); }));

    const std::vector<std::string> calls = {"VE3AAA", "VE3BBB", "VE3CCC", "VE3DDD", "VE3EEE"};
    int depth = 0;
    int deepest = 0;
    bool takenWhileOpen = false;
    f.main.dialogs.whileShown = [&](const ShownBox&) {
        deepest = std::max(deepest, ++depth);
        for (const std::string& call : calls) {
            engine.sendMonitored(QStringLiteral("K1ABC"), QStringLiteral("CQ"),
                                 QByteArray::fromStdString(clusterLine("K1ABC", "1830.0", call) + "\r"));
        }
        // The operator tries again while the box is up.
        f.service().send(":C");
        runNestedLoop([&] { return f.feature().store().slot(49).call == calls.back(); }, 5000);
        takenWhileOpen = f.feature().store().slot(49).call == calls.back();
        --depth;
    };
    const std::size_t before = f.main.dialogs.shown.size();
    f.service().send(":C");
    EXPECT_EQ(f.main.dialogs.shown.size(), before) << "shown from inside the send";
    ASSERT_TRUE(f.waitFor([&] { return f.main.dialogs.shown.size() > before && depth == 0; }));
    QTest::qWait(50);
    f.main.dialogs.whileShown = nullptr;

    EXPECT_EQ(deepest, 1);
    EXPECT_TRUE(takenWhileOpen);
    ASSERT_EQ(f.main.dialogs.shown.size(), before + 1);
    EXPECT_EQ(f.main.dialogs.shown.back().title, QStringLiteral("Call sign Required"));
    for (const std::string& call : calls) {
        EXPECT_EQ(timesStored(f.feature(), call), 1) << call;
    }
    EXPECT_EQ(f.feature().area().list()->topLevelItemCount(), static_cast<int>(calls.size()));
    EXPECT_EQ(engine.count('C'), 0);
}

// The engine cannot be reached: by the time its box is read, the link is already down.
TEST(SpotService, AFailureIsShownWithTheLinkAlreadyInItsNewState) {
    SpotsFixture f;
    ASSERT_TRUE(f.start());
    ScriptedAgwServer gone;
    ASSERT_TRUE(gone.listen());
    f.main.settings->set("AgwEnginePort", std::to_string(gone.port()));
    gone.stop();
    f.choose("AGW Packet Engine");
    bool consistent = false;
    bool windowShown = false;
    f.main.dialogs.whileShown = [&](const ShownBox&) {
        consistent = !f.service().isListening() && !f.service().timerRunning() && !f.service().agwLink().starting() &&
                     !f.control<QLabel>("lblListening")->isVisible() &&
                     f.status().contains(QStringLiteral("- Click Open from this program."));
        windowShown = f.setup().isVisible();
    };
    const std::size_t before = f.main.dialogs.shown.size();
    f.control<QPushButton>("cmdOpen")->click();
    ASSERT_TRUE(f.waitFor([&] { return f.main.dialogs.shown.size() > before; }));
    QTest::qWait(50);
    f.main.dialogs.whileShown = nullptr;
    EXPECT_TRUE(consistent);
    EXPECT_TRUE(windowShown);
    ASSERT_EQ(f.main.dialogs.shown.size(), before + 1);
    EXPECT_EQ(f.main.dialogs.shown.back().title, QStringLiteral("Unable to connect to the AGW Packet Engine."));
}
