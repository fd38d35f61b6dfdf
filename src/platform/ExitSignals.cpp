#include "platform/ExitSignals.h"

#include <QSocketNotifier>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace corvane {

namespace {

int g_signalSockets[2] = {-1, -1};

// Only async-signal-safe work here: the signal number goes down a socket to the window thread.
void onSignal(int number) {
    const unsigned char byte = static_cast<unsigned char>(number);
    const int saved = errno;
    (void)!::write(g_signalSockets[0], &byte, 1);
    errno = saved;
}

} // namespace

ExitSignals::ExitSignals(std::function<void(int)> onSignalHandler, QObject* parent)
    : QObject(parent), m_onSignal(std::move(onSignalHandler)) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalSockets) != 0) {
        return;
    }
    ::fcntl(g_signalSockets[0], F_SETFL, O_NONBLOCK);
    m_notifier = new QSocketNotifier(g_signalSockets[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &ExitSignals::readSignal);
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

ExitSignals::~ExitSignals() {
    std::signal(SIGTERM, SIG_DFL);
    std::signal(SIGINT, SIG_DFL);
    if (g_signalSockets[0] >= 0) {
        ::close(g_signalSockets[0]);
        ::close(g_signalSockets[1]);
        g_signalSockets[0] = g_signalSockets[1] = -1;
    }
}

void ExitSignals::readSignal() {
    unsigned char byte = 0;
    if (::read(g_signalSockets[1], &byte, 1) == 1 && m_onSignal) {
        m_onSignal(byte);
    }
}

} // namespace corvane
