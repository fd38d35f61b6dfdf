#include "spots/AgwLink.h"

#include "core/TextCase.h"

namespace corvane::spots {

std::string AgwLink::start(std::string_view ownCall) {
    stop();
    m_ownCall = std::string(ownCall);
    AgwFrame registerCall;
    registerCall.kind = 'X';
    registerCall.callFrom = m_ownCall;
    AgwFrame monitor;
    monitor.kind = 'm';
    return encodeAgwFrame(registerCall) + encodeAgwFrame(monitor);
}

std::string AgwLink::put(char kind, std::string_view farCall, std::string_view data) const {
    AgwFrame frame;
    frame.callFrom = m_ownCall;
    frame.callTo = std::string(farCall);
    switch (kind) {
    case 'c':
        frame.kind = 'C';
        break;
    case 'D':
        frame.kind = 'D';
        frame.pid = kAgwPidText;
        frame.data = std::string(data);
        break;
    case 'd':
        frame.kind = 'd';
        break;
    default:
        return {};
    }
    return encodeAgwFrame(frame);
}

bool AgwLink::received(std::string_view bytes) {
    for (AgwFrame& frame : m_decoder.feed(bytes)) {
        AgwReceived got;
        switch (frame.kind) {
        case 'X':
            m_registered = !frame.data.empty() && frame.data[0] == 1;
            continue;
        case 'C':
        case 'd':
            got.kind = frame.kind == 'C' ? 'c' : 'd';
            // The far station, whichever call field the engine put it in.
            got.sender =
                equalsIgnoringCase(frame.callFrom, m_ownCall) && !frame.callTo.empty() ? frame.callTo : frame.callFrom;
            break;
        case 'D':
        case 'I':
        case 'U':
        case 'S':
        case 'T':
            got.kind = frame.kind;
            got.sender = frame.callFrom;
            break;
        default:
            continue;
        }
        if (frame.data.size() > kAgwMaxText) {
            frame.data.resize(kAgwMaxText);
        }
        got.text = std::move(frame.data);
        m_queue.push_back(std::move(got));
        if (m_queue.size() > kAgwMaxQueuedFrames) {
            m_queue.pop_front();
            ++m_dropped;
        }
    }
    return !m_decoder.failed();
}

std::optional<AgwReceived> AgwLink::get() {
    if (m_queue.empty()) {
        return std::nullopt;
    }
    AgwReceived front = std::move(m_queue.front());
    m_queue.pop_front();
    return front;
}

void AgwLink::stop() {
    m_decoder.reset();
    m_queue.clear();
    m_registered.reset();
}

std::size_t AgwLink::takeDroppedFrames() {
    const std::size_t dropped = m_dropped;
    m_dropped = 0;
    return dropped;
}

} // namespace corvane::spots
