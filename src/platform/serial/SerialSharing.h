#pragma once
// Serial devices shared by closing: opening one owner's port first closes the ports of the
// owners it shares a device with. The CW keying port closes the push-to-talk port; the
// push-to-talk port closes the WinKeyer and the CW keying port; the WinKeyer closes both.
// The rig link and the TNC keep their own ports. Owners join when they are created.

#include "platform/serial/SerialPort.h"

#include <map>
#include <vector>

namespace corvane {

enum class SerialOwner { CwKeying, PushToTalk, WinKeyer, Rig, Tnc };

class SerialSharing {
public:
    // The owners whose ports are closed before `opening` opens its own.
    static std::vector<SerialOwner> closedBy(SerialOwner opening);

    void join(SerialOwner owner, SerialPort& port) { m_ports[owner] = &port; }
    void leave(SerialOwner owner) { m_ports.erase(owner); }
    // Closes the open ports that `opening` displaces.
    void beforeOpen(SerialOwner opening);
    SerialPort* port(SerialOwner owner) const;

private:
    std::map<SerialOwner, SerialPort*> m_ports;
};

} // namespace corvane
