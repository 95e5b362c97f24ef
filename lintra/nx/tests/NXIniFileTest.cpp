// Sections and keys of lintra.ini as the start-up sees them.
#include "lintra/nx/NXIniFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testsupport/TempDir.h"

namespace lintra::nx {
namespace {

using Names = std::vector<std::string>;

TNXIniFile Read(const std::string &text) {
    TNXIniFile ini;
    ini.Read(tessel::Profile::parse(text));
    return ini;
}

struct NamesCase {
    std::string text;
    Names devices;
    Names lines;  // of every device
};

TEST(NXIniFileTest, DeviceAndLineSectionNames) {
    const NamesCase cases[] = {
        {"[Device A]\n[Device B]\n", {"A", "B"}, {}},
        {"[device  Main ]\nType=1\n", {"Main"}, {}},
        {"[DEVICE\tTab]\n", {}, {}},  // the prefix ends in a blank, not a tab
        {"[Device ]\nType=1\n[Device]\nType=1\n[Devices X]\n", {}, {}},
        {"[Line L1]\nDevice=A\n[line  L2 ]\ndevice=B\n", {}, {"L2", "L1"}},
        {"[Line L1]\nType=4\n[Line L2]\nDevice=\n[Line ]\nDevice=A\n", {}, {}},
        {"[Common]\nLogLevel=3\n[Other]\nType=1\n", {}, {}},
        {"[Device " + std::string(256, 'n') + "]\n[Device " + std::string(255, 'n') + "]\n",
         {std::string(255, 'n')},
         {}},
    };
    for (const NamesCase &c : cases) {
        const TNXIniFile ini = Read(c.text);
        EXPECT_EQ(ini.GetDeviceNames(), c.devices) << c.text;
        EXPECT_EQ(ini.GetLinesOfDevice(""), c.lines) << c.text;
    }
}

TEST(NXIniFileTest, LinesBelongToTheDeviceTheirDeviceValueNamesWithRegardToCase) {
    const TNXIniFile ini = Read(
        "[Device A]\n[Device a]\n"
        "[Line 1]\nDevice=A\n[Line 2]\nDevice=a\n[Line 3]\nDevice=A\n[Line 4]\nDevice=Nobody\n");
    EXPECT_EQ(ini.GetLinesOfDevice("A"), (Names{"3", "1"}));
    EXPECT_EQ(ini.GetLinesOfDevice("a"), (Names{"2"}));
    EXPECT_EQ(ini.GetLinesOfDevice("B"), Names{});
    EXPECT_EQ(ini.GetLinesOfDevice(""), (Names{"4", "3", "2", "1"}));
}

TEST(NXIniFileTest, SectionParamsAreItsKeyValueLines) {
    const TNXIniFile ini = Read(
        "[Device D]\n Host = 10.0.0.1 \nPort=21302\nnot a pair\n; comment\n"
        "[Line L]\nDevice=D\nType=4\nCom=COM5\n"
        "[common]\nLOGLEVEL=7\n");
    TParamList params;
    ASSERT_TRUE(ini.GetDeviceParams("D", params));
    EXPECT_EQ(params.Lines(), (Names{"Host=10.0.0.1", "Port=21302"}));
    ASSERT_TRUE(ini.GetLineParams("L", params));
    EXPECT_EQ(params.Lines(), (Names{"Device=D", "Type=4", "Com=COM5"}));
    EXPECT_FALSE(ini.GetDeviceParams("L", params));
    EXPECT_FALSE(ini.GetLineParams("D", params));
    EXPECT_FALSE(ini.GetDeviceParams("d", params));
    EXPECT_EQ(ini.Common().IntValue("LogLevel", -1), 7);
}

TEST(NXIniFileTest, OfTwoSectionsWithOneNameTheLaterCounts) {
    const TNXIniFile ini = Read("[Device A]\nPort=1\n[Device  A]\nPort=2\n");
    EXPECT_EQ(ini.GetDeviceNames(), (Names{"A", "A"}));
    TParamList params;
    ASSERT_TRUE(ini.GetDeviceParams("A", params));
    EXPECT_EQ(params.IntValue("Port", -1), 2);
}

TEST(NXIniFileTest, LoadReadsLintraIniOfTheCurrentDirectory) {
    testsupport::IsolatedHost host;
    TNXIniFile ini;
    EXPECT_FALSE(ini.Load());
    host.dir().write("lintra.ini", "");
    EXPECT_FALSE(ini.Load());
    host.dir().write("lintra.ini", "[Common]\n");
    EXPECT_TRUE(ini.Load());
    host.dir().write("lintra.ini", "[Device X]\nType=1\n");
    ASSERT_TRUE(ini.Load());
    EXPECT_EQ(ini.GetDeviceNames(), Names{"X"});
    // A second load starts from empty lists.
    host.dir().write("lintra.ini", "[Device Y]\n");
    ASSERT_TRUE(ini.Load());
    EXPECT_EQ(ini.GetDeviceNames(), Names{"Y"});
}

}  // namespace
}  // namespace lintra::nx
