// The window thread while a DX cluster floods the Telnet spot source: 10 MB of spot lines
// mixed with junk (binary and NUL bytes, invalid UTF-8, Telnet commands, long runs without a
// line end) arrive over loopback into the main window with its band map shown.
//
//   spot_flood_ui_stall_max    the longest gap between two ticks of a 1 ms heartbeat timer
//                              on the window thread while the flood arrives (ms)
//   spot_flood_rss_growth_mb   the process's resident memory after the flood less before (MB)
//
// The cluster runs on its own thread with plain sockets, so that only the program's work
// counts on the window thread.

#include "BenchUtil.h"
#include "WindowThread.h"
#include "cw/ui/CwFeature.h"
#include "platform/net/TcpClient.h"
#include "spots/ui/SpotArea.h"
#include "spots/ui/SpotService.h"
#include "spots/ui/SpotSetupWindow.h"
#include "spots/ui/SpotsFeature.h"
#include "support/LoopbackCluster.h"
#include "support/MainWindowFixture.h"
#include "support/SpotLines.h"

#include <QListWidget>
#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <fstream>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using namespace corvane;
using SteadyClock = std::chrono::steady_clock;

namespace {

constexpr long long kFloodBytes = 10LL * 1024 * 1024;

double residentMb() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            double kb = 0;
            status >> kb;
            return kb / 1024.0;
        }
        std::getline(status, key);
    }
    return 0;
}

bool runUntil(const std::function<bool()>& done, int ms) {
    const auto end = SteadyClock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (SteadyClock::now() > end) {
            return false;
        }
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

// A cluster node on its own thread: greets, prompts, then floods once the client sent a line.
class FloodNode {
public:
    FloodNode() {
        m_listen = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(m_listen, reinterpret_cast<sockaddr*>(&a), sizeof a);
        ::listen(m_listen, 1);
        socklen_t len = sizeof a;
        ::getsockname(m_listen, reinterpret_cast<sockaddr*>(&a), &len);
        m_port = ntohs(a.sin_port);
        m_thread = std::thread([this] { run(); });
    }
    ~FloodNode() {
        m_thread.join();
        ::close(m_listen);
    }
    int port() const { return m_port; }
    std::atomic<bool> loggedIn{false};
    std::atomic<bool> finished{false};
    std::atomic<int> spotLines{0};

private:
    void run() {
        const int client = ::accept(m_listen, nullptr, nullptr);
        if (client < 0) {
            finished = true;
            return;
        }
        const QByteArray greeting = test::LoopbackCluster::defaultGreeting();
        ::send(client, greeting.constData(), static_cast<std::size_t>(greeting.size()), MSG_NOSIGNAL);
        char c = 0;
        while (::recv(client, &c, 1, 0) == 1 && c != '\n') {
        }
        loggedIn = true;
        quint32 state = 1;
        int spots = 0;
        long long sent = 0;
        while (sent < kFloodBytes) {
            const QByteArray piece = test::LoopbackCluster::floodPiece(state, spots);
            const ssize_t n = ::send(client, piece.constData(), static_cast<std::size_t>(piece.size()), MSG_NOSIGNAL);
            if (n <= 0) {
                break;
            }
            sent += n;
        }
        spotLines = spots;
        finished = true;
        ::shutdown(client, SHUT_WR);
        while (::recv(client, &c, 1, 0) > 0) {
        }
        ::close(client);
    }

    int m_listen = -1;
    int m_port = 0;
    std::thread m_thread;
};

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    test::MainWindowFixture f;
    f.features = [](FeatureContext& context) {
        std::vector<std::unique_ptr<Feature>> features;
        features.push_back(std::make_unique<cw::CwFeature>(context));
        features.push_back(std::make_unique<spots::SpotsFeature>(context));
        return features;
    };
    if (!f.start()) {
        return 1;
    }
    auto& feature = *f.window->feature<spots::SpotsFeature>();
    spots::SpotSetupWindow& setup = feature.setupWindow();
    FloodNode node;
    auto* list = setup.findChild<QListWidget*>(QStringLiteral("lstSource"));
    list->setCurrentItem(list->findItems(QStringLiteral("Telnet"), Qt::MatchExactly).front());
    setup.findChild<QLineEdit*>(QStringLiteral("txtTelnetHost"))->setText(QStringLiteral("127.0.0.1"));
    setup.findChild<QLineEdit*>(QStringLiteral("txtTelnetPort"))->setText(QString::number(node.port()));
    setup.openPort();
    setup.done(); // the band map is shown and redrawn with every spot
    if (!runUntil([&] { return feature.service().telnetClient().isConnected(); }, 5000)) {
        std::fprintf(stderr, "spot flood bench: no connection\n");
        return 1;
    }
    runUntil([] { return false; }, 200);
    const double rssBefore = residentMb();

    bench::StallMeter heartbeat;
    heartbeat.start();
    setup.findChild<QLineEdit*>(QStringLiteral("txtSent"))->setText(QStringLiteral("W1XYZ"));
    setup.sendText();
    double rssPeak = rssBefore;
    const bool flooded = runUntil(
        [&] {
            rssPeak = std::max(rssPeak, residentMb());
            return node.finished.load() && !setup.isListening();
        },
        120000);
    heartbeat.stop();
    if (!flooded) {
        std::fprintf(stderr, "spot flood bench: the flood did not finish\n");
        return 1;
    }
    rssPeak = std::max(rssPeak, residentMb());
    bench::report("spot_flood_ui_stall_max", heartbeat.longestMs(), "ms");
    bench::report("spot_flood_rss_growth_mb", rssPeak - rssBefore, "MB");
    std::fprintf(stderr, "spot flood bench: %d spot lines sent, store newest %s\n", node.spotLines.load(),
                 feature.store().slot(spots::kSpotSlots - 1).call.c_str());
    feature.shutdown();
    return 0;
}
