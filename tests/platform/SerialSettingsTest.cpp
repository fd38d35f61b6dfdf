#include "platform/serial/SerialSettings.h"

#include "core/SettingsStore.h"
#include "platform/PortBroker.h"
#include "support/FakeSerialPort.h"

#include <gtest/gtest.h>
#include <map>

namespace corvane {
namespace {

struct MapStore : SettingsStore {
    std::map<std::string, std::string> values;
    std::string get(const std::string& key) const override {
        auto it = values.find(key);
        return it == values.end() ? std::string() : it->second;
    }
    void set(const std::string& key, const std::string& value) override { values[key] = value; }
};

TEST(SerialSettings, ReadsAndWritesTheSettingsString) {
    const auto s = parseSerialSettings("9600,N,8,1");
    ASSERT_TRUE(s);
    EXPECT_EQ(*s, SerialLineSettings{});
    EXPECT_EQ(formatSerialSettings(*s), "9600,N,8,1");
    const auto t = parseSerialSettings(" 4800 , e , 7 , 2 ");
    ASSERT_TRUE(t);
    EXPECT_EQ(t->parity, 'E');
    EXPECT_EQ(formatSerialSettings(*t), "4800,E,7,2");
    EXPECT_EQ(formatSerialSettings(*parseSerialSettings("1200,O,5,1.5")), "1200,O,5,1.5");
    for (const char* bad : {"", "9600", "9600,N,8", "9600,X,8,1", "0,N,8,1", "-9600,N,8,1", "9600,N,9,1", "9600,N,8,3",
                            "9600,NN,8,1", "9600,N,8,1,1", "fast,N,8,1"}) {
        EXPECT_FALSE(parseSerialSettings(bad)) << bad;
    }
}

TEST(SerialSettings, PortNumbersMapToDevicesTheOperatorCanChange) {
    EXPECT_EQ(defaultSerialDevice(1), "/dev/ttyUSB0");
    EXPECT_EQ(defaultSerialDevice(4), "/dev/ttyUSB3");
    EXPECT_EQ(defaultSerialDevice(0), "");
    MapStore store;
    EXPECT_EQ(serialDevicePath(2, &store), "/dev/ttyUSB1");
    store.set(serialDeviceKey(2), "/dev/ttyS0");
    EXPECT_EQ(serialDeviceKey(2), "SerialPortDevice2");
    EXPECT_EQ(serialDevicePath(2, &store), "/dev/ttyS0");
    EXPECT_EQ(serialDevicePath(3, &store), "/dev/ttyUSB2");
    EXPECT_EQ(serialDevicePath(0, &store), "");
    EXPECT_EQ(serialDevicePath(1, nullptr), "/dev/ttyUSB0");
}

// Each owner's port opened on its own device, joined with a release that closes it.
struct BrokerOwners {
    PortBroker broker;
    FakeSerialPort keying, ptt, winkey, rig;
    BrokerOwners() {
        const std::pair<PortOwner, FakeSerialPort*> owners[] = {{PortOwner::CwKeying, &keying},
                                                                {PortOwner::PushToTalk, &ptt},
                                                                {PortOwner::WinKeyer, &winkey},
                                                                {PortOwner::Rig, &rig}};
        for (auto [owner, port] : owners) {
            broker.join(owner, [port] { port->close(); });
            open(owner, *port);
        }
    }
    void open(PortOwner owner, FakeSerialPort& port) {
        port.setPortNumber(static_cast<int>(owner) + 1);
        ASSERT_TRUE(broker.acquire(owner, "/dev/fake" + std::to_string(static_cast<int>(owner))));
        port.open();
    }
};

TEST(PortBroker, OpeningAPortClosesTheOwnersThatShareItsDevice) {
    BrokerOwners o;
    o.open(PortOwner::CwKeying, o.keying);
    EXPECT_FALSE(o.ptt.isOpen());
    EXPECT_TRUE(o.winkey.isOpen());
    EXPECT_TRUE(o.rig.isOpen());

    o.open(PortOwner::PushToTalk, o.ptt);
    EXPECT_FALSE(o.keying.isOpen());
    EXPECT_FALSE(o.winkey.isOpen());

    o.open(PortOwner::CwKeying, o.keying);
    o.open(PortOwner::PushToTalk, o.ptt);
    o.open(PortOwner::WinKeyer, o.winkey);
    EXPECT_FALSE(o.keying.isOpen());
    EXPECT_FALSE(o.ptt.isOpen());
    EXPECT_TRUE(o.rig.isOpen());

    EXPECT_TRUE(o.broker.acquire(PortOwner::Tnc, "/dev/fake9")); // no owner shares with the TNC
    EXPECT_TRUE(o.rig.isOpen());
    EXPECT_EQ(o.broker.deviceOf(PortOwner::Tnc), "/dev/fake9");
}

TEST(PortBroker, OwnersWithoutASharingRuleAreRefusedAHeldDevice) {
    BrokerOwners o;
    std::string refusal;
    EXPECT_FALSE(o.broker.acquire(PortOwner::Tnc, "/dev/fake3", &refusal));
    EXPECT_EQ(refusal, "/dev/fake3 is already in use by the rig link. Choose another port, or close it there first.");
    EXPECT_TRUE(o.rig.isOpen());
    // The WinKeyer may sit on the keying device: it displaces the keying owner instead.
    EXPECT_TRUE(o.broker.acquire(PortOwner::WinKeyer, "/dev/fake0", &refusal));
    EXPECT_FALSE(o.keying.isOpen());
    // Once the rig lets go, the device is free.
    o.rig.close();
    o.broker.released(PortOwner::Rig);
    EXPECT_TRUE(o.broker.acquire(PortOwner::Tnc, "/dev/fake3", &refusal));
    // Parallel ports are shared, never closed.
    EXPECT_TRUE(o.broker.acquire(PortOwner::CwKeying, "/dev/parport0", nullptr, PortKind::Parallel));
    EXPECT_TRUE(o.broker.acquire(PortOwner::PushToTalk, "/dev/parport0", nullptr, PortKind::Parallel));
    EXPECT_TRUE(o.winkey.isOpen());
}

TEST(PortBroker, ReleaseAllClosesEveryOpenPortOnce) {
    BrokerOwners o;
    int rigReleases = 0;
    o.broker.join(PortOwner::Rig, [&] {
        ++rigReleases;
        o.rig.close();
    });
    o.broker.releaseAll();
    o.broker.releaseAll();
    EXPECT_EQ(rigReleases, 1);
    for (auto* p : {&o.keying, &o.ptt, &o.winkey, &o.rig}) {
        EXPECT_FALSE(p->isOpen());
    }
}

} // namespace
} // namespace corvane
