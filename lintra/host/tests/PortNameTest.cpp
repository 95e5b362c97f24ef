#include "lintra/host/PortName.h"

#include <gtest/gtest.h>

#include "platform/Registry.h"
#include "testsupport/TempDir.h"

using lintra::host::resolvePortName;

namespace {

TEST(PortName, PathsStandAndComNamesFollowTheMachineHiveOrDefault) {
    testsupport::IsolatedHost host;
    auto ports = tessel::RegKey::open(tessel::Hive::LocalMachine, "SOFTWARE\\Tessel\\Ports", true);
    ASSERT_TRUE(ports);
    ASSERT_TRUE(ports->writeString("COM3", "/dev/pts/7"));
    ASSERT_TRUE(ports->writeString("COM12", "/dev/ttyUSB0"));

    const struct {
        const char *name;
        std::optional<std::string> device;
    } cases[] = {
        {"/dev/ttyUSB1", "/dev/ttyUSB1"},
        {"COM1", "/dev/ttyS0"},
        {"com2", "/dev/ttyS1"},
        {"COM3", "/dev/pts/7"},
        {"cOm3", "/dev/pts/7"},
        {"\\\\.\\COM12", "/dev/ttyUSB0"},
        {"COM12", "/dev/ttyUSB0"},
        {"\\\\.\\com20", "/dev/ttyS19"},
        {"COM0", std::nullopt},
        {"COM", std::nullopt},
        {"COM1x", std::nullopt},
        {"COM-1", std::nullopt},
        {"COM99999999999", std::nullopt},
        {"LPT1", std::nullopt},
        {"ttyS0", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto &c : cases) EXPECT_EQ(resolvePortName(c.name), c.device) << c.name;
}

}  // namespace
