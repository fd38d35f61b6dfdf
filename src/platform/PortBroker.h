#pragma once
// The one place every owner of a serial or parallel device acquires it. Serial devices are
// shared by closing: opening the CW keying port closes the push-to-talk port; opening the
// push-to-talk port closes the WinKeyer and the CW keying port; opening the WinKeyer closes
// both. Owners without such a rule (the rig link, the TNC) are refused a device another
// owner holds open, instead of two streams corrupting each other on one line. A displaced
// owner is told through its release callback and must close its port there.
//
// Parallel ports are written a byte at a time by whoever keys; they are shared, not closed.

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace corvane {

enum class PortOwner { CwKeying, PushToTalk, WinKeyer, Rig, Tnc };
enum class PortKind { Serial, Parallel };

class PortBroker {
public:
    using Release = std::function<void()>;

    // The owners whose serial ports on the same device are closed before `opening` opens it.
    static std::vector<PortOwner> displacedBy(PortOwner opening);
    // How the operator knows the owner ("the CW keying", "the rig link" ...).
    static std::string describe(PortOwner owner);

    // An owner joins once, with what closes its port when it is displaced.
    void join(PortOwner owner, Release release);
    void leave(PortOwner owner);

    // Call before opening `device`. False, with the operator's message in *refusal, when an
    // owner this one may not close holds the same device open; otherwise closes the owners the
    // sharing rules displace from that device and records it as held.
    bool acquire(PortOwner owner, const std::string& device, std::string* refusal = nullptr,
                 PortKind kind = PortKind::Serial);
    // Call after the owner closed its port itself (or its open failed).
    void released(PortOwner owner);

    // The device an owner holds open ("" when none).
    std::string deviceOf(PortOwner owner) const;
    // Every holder lets go: the program is ending.
    void releaseAll();

private:
    struct Holder {
        Release release;
        std::string device;
        PortKind kind = PortKind::Serial;
        bool open = false;
    };
    void displace(PortOwner owner);
    std::map<PortOwner, Holder> m_holders;
};

} // namespace corvane
