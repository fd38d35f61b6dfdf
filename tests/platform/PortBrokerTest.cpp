#include "platform/PortBroker.h"

#include "support/FakeSerialPort.h"

#include <array>
#include <gtest/gtest.h>
#include <string>

namespace corvane {
namespace {

std::string fakeDevice(PortOwner owner) {
    return "/dev/fake" + std::to_string(static_cast<int>(owner));
}

// Each owner's port opened on its own device, joined with a release that closes it.
struct BrokerOwners {
    PortBroker broker;
    FakeSerialPort keying, ptt, winkey, rig;
    BrokerOwners() {
        for (auto [owner, port] : all()) {
            broker.join(owner, [port] { port->close(); });
            open(owner, *port, fakeDevice(owner));
        }
    }
    std::array<std::pair<PortOwner, FakeSerialPort*>, 4> all() {
        return {{{PortOwner::CwKeying, &keying},
                 {PortOwner::PushToTalk, &ptt},
                 {PortOwner::WinKeyer, &winkey},
                 {PortOwner::Rig, &rig}}};
    }
    bool open(PortOwner owner, FakeSerialPort& port, const std::string& device, std::string* refusal = nullptr) {
        port.setPortNumber(static_cast<int>(owner) + 1);
        if (!broker.acquire(owner, device, refusal)) {
            return false;
        }
        port.open();
        return true;
    }
};

TEST(PortBroker, OpeningAPortClosesTheOwnersThatShareItsDevice) {
    BrokerOwners o;
    // Keying opened on the push-to-talk device closes push-to-talk, and only it.
    ASSERT_TRUE(o.open(PortOwner::CwKeying, o.keying, fakeDevice(PortOwner::PushToTalk)));
    EXPECT_FALSE(o.ptt.isOpen());
    EXPECT_TRUE(o.winkey.isOpen());
    EXPECT_TRUE(o.rig.isOpen());
    EXPECT_EQ(o.broker.deviceOf(PortOwner::PushToTalk), "");

    // Push-to-talk back on that device closes the keying port sitting there; the WinKeyer on
    // its own device keeps its port although push-to-talk may displace it.
    ASSERT_TRUE(o.open(PortOwner::PushToTalk, o.ptt, fakeDevice(PortOwner::PushToTalk)));
    EXPECT_FALSE(o.keying.isOpen());
    EXPECT_TRUE(o.winkey.isOpen());

    // Owners on other devices are never closed, whichever rules they share.
    ASSERT_TRUE(o.open(PortOwner::CwKeying, o.keying, fakeDevice(PortOwner::CwKeying)));
    EXPECT_TRUE(o.ptt.isOpen());
    EXPECT_TRUE(o.winkey.isOpen());

    // The WinKeyer on the keying device closes the keying owner there.
    ASSERT_TRUE(o.open(PortOwner::WinKeyer, o.winkey, fakeDevice(PortOwner::CwKeying)));
    EXPECT_FALSE(o.keying.isOpen());
    EXPECT_TRUE(o.ptt.isOpen());
    EXPECT_EQ(o.broker.deviceOf(PortOwner::WinKeyer), fakeDevice(PortOwner::CwKeying));

    EXPECT_TRUE(o.broker.acquire(PortOwner::Tnc, "/dev/fake9")); // a free device
    EXPECT_TRUE(o.rig.isOpen());
    EXPECT_EQ(o.broker.deviceOf(PortOwner::Tnc), "/dev/fake9");

    // Parallel ports are shared, never closed.
    EXPECT_TRUE(o.broker.acquire(PortOwner::CwKeying, "/dev/parport0", nullptr, PortKind::Parallel));
    EXPECT_TRUE(o.broker.acquire(PortOwner::PushToTalk, "/dev/parport0", nullptr, PortKind::Parallel));
    EXPECT_TRUE(o.winkey.isOpen());
}

TEST(PortBroker, ARefusedAcquireClosesNobody) {
    BrokerOwners o;
    // The rig's device: no owner may take it from the rig link.
    std::string refusal;
    EXPECT_FALSE(o.broker.acquire(PortOwner::Tnc, fakeDevice(PortOwner::Rig), &refusal));
    EXPECT_EQ(refusal, "/dev/fake3 is already in use by the rig link. Choose another port, or close it there first.");

    // The keying owner wants the rig's device: refused, and the push-to-talk it may close
    // elsewhere stays open, as does its own port.
    EXPECT_FALSE(o.open(PortOwner::CwKeying, o.keying, fakeDevice(PortOwner::Rig), &refusal));
    EXPECT_FALSE(o.open(PortOwner::PushToTalk, o.ptt, fakeDevice(PortOwner::Rig), &refusal));
    EXPECT_TRUE(o.ptt.isOpen());
    EXPECT_TRUE(o.keying.isOpen());
    EXPECT_TRUE(o.winkey.isOpen());
    EXPECT_TRUE(o.rig.isOpen());
    EXPECT_EQ(o.broker.deviceOf(PortOwner::CwKeying), fakeDevice(PortOwner::CwKeying));

    // The keying owner may not close the WinKeyer: the WinKeyer's device refuses it.
    EXPECT_FALSE(o.open(PortOwner::CwKeying, o.keying, fakeDevice(PortOwner::WinKeyer), &refusal));
    EXPECT_EQ(refusal, "/dev/fake2 is already in use by the WinKeyer. Choose another port, or close it there first.");
    EXPECT_TRUE(o.winkey.isOpen());

    // Once the rig lets go, the device is free.
    o.rig.close();
    o.broker.released(PortOwner::Rig);
    EXPECT_TRUE(o.broker.acquire(PortOwner::Tnc, fakeDevice(PortOwner::Rig), &refusal));
}

TEST(PortBroker, ReleaseAllClosesEveryOpenPortOnceWhateverTheCallbacksDo) {
    BrokerOwners o;
    int rigReleases = 0;
    int keyingReleases = 0;
    // The keying callback (called first) releases and rejoins itself and takes the WinKeyer
    // out of the broker; the rig's acquires anew.
    o.broker.join(PortOwner::CwKeying, [&] {
        ++keyingReleases;
        o.keying.close();
        o.broker.released(PortOwner::CwKeying);
        o.broker.join(PortOwner::CwKeying, [&] { ++keyingReleases; });
        o.broker.leave(PortOwner::WinKeyer);
    });
    o.broker.join(PortOwner::Rig, [&] {
        ++rigReleases;
        o.rig.close();
        o.broker.acquire(PortOwner::Tnc, "/dev/fake9");
    });
    o.broker.releaseAll();
    o.broker.releaseAll();
    EXPECT_EQ(rigReleases, 1);
    EXPECT_EQ(keyingReleases, 1);
    EXPECT_FALSE(o.keying.isOpen());
    EXPECT_FALSE(o.ptt.isOpen());
    EXPECT_FALSE(o.rig.isOpen());
    EXPECT_TRUE(o.winkey.isOpen());                   // it left before its turn came: its callback was not called
    EXPECT_EQ(o.broker.deviceOf(PortOwner::Tnc), ""); // acquired during the walk, released by the second
}

} // namespace
} // namespace corvane
