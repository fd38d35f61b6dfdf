#include "platform/serial/SerialDevices.h"

#include "TempDir.h"
#include "core/SettingsStore.h"
#include "platform/serial/SerialSettings.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>

using namespace corvane;
using corvane::test::TempDir;
namespace fs = std::filesystem;

namespace {

struct Store : SettingsStore {
    std::map<std::string, std::string> values;
    std::string get(const std::string& key) const override {
        const auto it = values.find(key);
        return it == values.end() ? std::string() : it->second;
    }
    void set(const std::string& key, const std::string& value) override { values[key] = value; }
};

// A folder standing in for /dev: two "devices" and a by-id folder of links to them.
struct FakeDev {
    TempDir dir;
    std::string a = dir.file("ttyUSB0");
    std::string b = dir.file("ttyUSB1");
    std::string byId = dir.file("by-id");
    FakeDev() {
        std::ofstream(a).put('x');
        std::ofstream(b).put('x');
        fs::create_directories(byId);
    }
    std::string link(const std::string& name, const std::string& target) {
        const std::string path = byId + "/" + name;
        std::error_code ec;
        fs::remove(path, ec);
        fs::create_symlink(target, path);
        return path;
    }
};

} // namespace

TEST(SerialDevices, StableNamesAreFoundByTheDeviceTheyPointTo) {
    FakeDev dev;
    const std::string ftdi = dev.link("usb-FTDI_FT232R_A1B2-if00-port0", dev.a);
    dev.link("usb-Silicon_CP2102_9-if00-port0", dev.b);
    dev.link("usb-gone-if00", dev.dir.file("ttyUSB9")); // its device is unplugged
    const auto names = stableNamesIn(dev.byId);
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names.at(fs::canonical(dev.a).string()), ftdi);
    EXPECT_EQ(names.at(fs::canonical(dev.b).string()), dev.byId + "/usb-Silicon_CP2102_9-if00-port0");
    // Two links to one device: always the same one of them.
    dev.link("usb-AAA-first", dev.a);
    EXPECT_EQ(stableNamesIn(dev.byId).at(fs::canonical(dev.a).string()), dev.byId + "/usb-AAA-first");
    EXPECT_TRUE(stableNamesIn(dev.dir.file("no-such-folder")).empty());
}

TEST(SerialDevices, AChosenDeviceIsKeptByItsStableNameAndFoundByAnyOfItsNames) {
    FakeDev dev;
    const std::string stable = dev.link("usb-FTDI-if00", dev.a);
    const std::vector<SerialDeviceInfo> devices{
        {fs::canonical(dev.a).string(), stable, "FT232R USB UART", "FTDI", "A1B2"},
        {fs::canonical(dev.b).string(), "", "", "", ""},
    };
    EXPECT_EQ(storedNameOf(devices[0]), stable);
    EXPECT_EQ(storedNameOf(devices[1]), devices[1].path);
    EXPECT_EQ(deviceNamed(devices, stable), &devices[0]);
    EXPECT_EQ(deviceNamed(devices, devices[1].path), &devices[1]);
    // Another link to the same device (the by-path name) finds it too.
    const std::string other = dev.dir.file("by-path-link");
    fs::create_symlink(dev.a, other);
    EXPECT_EQ(deviceNamed(devices, other), &devices[0]);
    EXPECT_EQ(deviceNamed(devices, dev.dir.file("ttyACM3")), nullptr);
    EXPECT_EQ(deviceNamed(devices, ""), nullptr);

    EXPECT_EQ(describeDevice(devices[0]), "ttyUSB0: FT232R USB UART, FTDI, serial A1B2");
    EXPECT_EQ(describeDevice(devices[1]), "ttyUSB1");
    EXPECT_EQ(describeDevice({"/dev/ttyS0", "", "", "", "77"}), "ttyS0: serial 77");
}

TEST(SerialDevices, APortMappedByStableNameSurvivesAReplugAndIsReportedWhenUnplugged) {
    FakeDev dev;
    Store store;
    const std::string stable = dev.link("usb-FTDI-if00", dev.a);
    store.set(serialDeviceKey(3), stable);
    PortDeviceState state = portDeviceState(3, &store);
    EXPECT_EQ(state.device, stable);
    EXPECT_TRUE(state.present);
    EXPECT_EQ(state.text, stable);

    // Plugged in again, the adapter comes back as ttyUSB1: the stable name follows it.
    dev.link("usb-FTDI-if00", dev.b);
    state = portDeviceState(3, &store);
    EXPECT_TRUE(state.present);
    EXPECT_EQ(fs::canonical(state.device), fs::canonical(dev.b));

    // Unplugged: the link goes with the device.
    fs::remove(stable);
    state = portDeviceState(3, &store);
    EXPECT_FALSE(state.present);
    EXPECT_EQ(state.text, stable + " (not plugged in)");
    EXPECT_EQ(absentDeviceMessage(3, stable), "Serial port 3 is set to " + stable +
                                                  ", which is not plugged in. Plug it in, or choose another device "
                                                  "for port 3 in Setup > Serial Ports.");

    // Unmapped ports stand for /dev/ttyUSB<n-1>; port 0 for nothing.
    state = portDeviceState(2, &store, [](const std::string& path) { return path == "/dev/ttyUSB1"; });
    EXPECT_EQ(state.device, "/dev/ttyUSB1");
    EXPECT_TRUE(state.present);
    state = portDeviceState(0, &store);
    EXPECT_EQ(state.device, "");
    EXPECT_FALSE(state.present);
    EXPECT_EQ(state.text, "");
    EXPECT_FALSE(serialDevicePresent(""));
}
