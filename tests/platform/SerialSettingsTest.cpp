#include "platform/serial/SerialSettings.h"

#include "core/SettingsStore.h"

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

} // namespace
} // namespace corvane
