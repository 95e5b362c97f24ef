// The lintra.ini start-up over the fake driver and line types: what it creates, starts and
// registers, and the overrides it leaves for later creates.
#include "lintra/nx/NXStartup.h"

#include <gtest/gtest.h>

#include <string>

#include "lintra/nx/CommCodes.h"
#include "lintra/nx/PortAliases.h"
#include "lintra/nx/tests/DriverFixture.h"

namespace lintra::nx::test {
namespace {

const std::string kFakeDriver = "Type=" + std::to_string(FakeDriver::kType) + "\n";
const std::string kFakeLine = "Type=" + std::to_string(FakeLine::kType) + "\n";

class NXStartupTest : public DriverFixture {
protected:
    ~NXStartupTest() override {
        FreeNXConfiguration();
        TCommDriver::SetDefaultLogLevel(TCommDriver::kDefaultLogLevel);
    }

    int32_t StartWith(const std::string &ini) {
        host_.dir().write("lintra.ini", ini);
        return StartNXConfiguration();
    }
    static int32_t Alias(const char *port) {
        const std::optional<NXLineRef> line = FindLineByPortName(port);
        return line ? line->lineHandle : 0;
    }
};

TEST_F(NXStartupTest, WithoutSectionsNothingIsCreated) {
    EXPECT_EQ(StartNXConfiguration(), -2);  // no file
    EXPECT_EQ(StartWith("Type=90\n"), -2);
    EXPECT_EQ(DriverCount(), 0);
}

TEST_F(NXStartupTest, CreatesAndStartsTheDevicesWithTheirLines) {
    const int32_t registered = StartWith(
        "[Device Main]\n" + kFakeDriver + "Host=10.0.0.1\n"
        "[Line Panel]\nDevice=Main\n" + kFakeLine + "Port=3\nCom=COM5\nQryDelay=7\n");
    EXPECT_EQ(registered, 1);
    FakeDriver *driver = Driver(1);
    ASSERT_NE(driver, nullptr);
    EXPECT_EQ(driver->Params().Value("Host"), "10.0.0.1");
    EXPECT_TRUE(driver->WaitPasses(1));  // started
    const std::optional<NXLineRef> line = FindLineByPortName("com5");
    ASSERT_TRUE(line);
    EXPECT_EQ(line->lineHandle, 1);
    EXPECT_EQ(line->lineType, FakeLine::kType);
    EXPECT_EQ(Line(1)->LineNumber(), 3);
    EXPECT_EQ(Line(1)->Params().IntValue("QryDelay", -1), 7);
    // Once the alias table holds entries the start-up does nothing more.
    EXPECT_EQ(StartNXConfiguration(), -1);
    EXPECT_EQ(DriverCount(), 1);
}

TEST_F(NXStartupTest, AFailedCreateSkipsItsPartAndTheStartUpGoesOn) {
    const int32_t registered = StartWith(
        "[Device Tcp]\nType=1\n"  // no such type registered: no driver, none of its lines
        "[Line OnTcp]\nDevice=Tcp\n" + kFakeLine + "Port=0\nCom=COM1\n"
        "[Device Fake]\n" + kFakeDriver +
        "[Line Refused]\nDevice=Fake\n" + kFakeLine + "Port=0\nCom=COM2\nRefuse=1\n"
        "[Line Kept]\nDevice=Fake\n" + kFakeLine + "Port=1\nCom=COM3\n");
    EXPECT_EQ(registered, 1);
    EXPECT_EQ(DriverCount(), 1);
    EXPECT_EQ(Alias("COM1"), 0);
    EXPECT_EQ(Alias("COM2"), 0);
    EXPECT_EQ(Alias("COM3"), 1);
    EXPECT_EQ(LineCount(), 1);
}

TEST_F(NXStartupTest, SectionsThatCreateNothing) {
    const int32_t registered = StartWith(
        "[Device Off]\n" + kFakeDriver + "Ignore=1\n"
        "[Line OffDevice]\nDevice=Off\n" + kFakeLine + "Port=0\nCom=A\n"
        "[Device NoType]\nHost=x\n"
        "[Device BadType]\nType=ninety\n"
        "[Device On]\n" + kFakeDriver + "Ignore=no\n"  // unreadable: the default 0
        "[Line Ignored]\nDevice=On\n" + kFakeLine + "Port=0\nCom=B\nIgnore=-1\n"
        "[Line NoPort]\nDevice=On\n" + kFakeLine + "Com=C\n"
        "[Line PortMinusOne]\nDevice=On\n" + kFakeLine + "Port=-1\nCom=D\n"
        "[Line NoType]\nDevice=On\nPort=0\nCom=E\n"
        "[Line NoCom]\nDevice=On\n" + kFakeLine + "Port=0\nCom=\n"
        "[Line Orphan]\nDevice=on\n" + kFakeLine + "Port=0\nCom=F\n"
        "[Line " + std::string(1, ' ') + "]\nDevice=On\n" + kFakeLine + "Port=0\nCom=G\n"
        "[Line LongCom]\nDevice=On\n" + kFakeLine + "Port=0\nCom=" + std::string(256, 'L') + "\n");
    EXPECT_EQ(registered, 0);
    EXPECT_EQ(DriverCount(), 1);  // On, started without lines
    EXPECT_EQ(LineCount(), 0);
    ASSERT_NE(Driver(1), nullptr);
    EXPECT_TRUE(Driver(1)->WaitPasses(1));
}

TEST_F(NXStartupTest, DevicesInFileOrderTheirLinesInReverseFileOrder) {
    const int32_t registered = StartWith(
        "[Device A]\n" + kFakeDriver + "[Device B]\n" + kFakeDriver +
        "[Line B1]\nDevice=B\n" + kFakeLine + "Port=0\nCom=PB\n"
        "[Line A1]\nDevice=A\n" + kFakeLine + "Port=0\nCom=COM5\n"
        "[Line A2]\nDevice=A\n" + kFakeLine + "Port=1\nCom=com5\n");
    EXPECT_EQ(registered, 3);
    // A's lines first, A2 before A1; B's line last.
    EXPECT_EQ(Line(1)->Params().Value("Com"), "com5");
    EXPECT_EQ(Line(2)->Params().Value("Com"), "COM5");
    EXPECT_EQ(&Line(3)->Driver(), Driver(2));
    // The line created later wins the shared port name.
    EXPECT_EQ(Alias("COM5"), 2);
    EXPECT_EQ(Alias("Com5"), 2);
    EXPECT_EQ(Alias("pb"), 3);
    EXPECT_EQ(Alias("PC"), 0);
}

TEST_F(NXStartupTest, NumberedSectionsOverrideTheParametersOfThatHandle) {
    StartWith(
        "[Device 1]\nPort=5000\nPassword=file\n"  // no type: an override only
        "[Device 2]\n" + kFakeDriver + "Ignore=1\nHost=two\n"
        "[Device 256]\nHost=none\n"
        "[Line 1]\nDevice=2\nQryDelay=9\n"
        "[Line 0002]\nDevice=2\nTag=leading zeros\n");
    EXPECT_EQ(DriverCount(), 0);
    const char *client = "Host=client\r\nPort=21302";
    EXPECT_EQ(NewDriver(client), 1);
    EXPECT_EQ(Driver(1)->Params().Lines(), (std::vector<std::string>{"Host=client", "Port=5000", "Password=file"}));
    EXPECT_EQ(NewDriver(client), 2);
    EXPECT_EQ(Driver(2)->Params().Value("Host"), "two");
    EXPECT_EQ(NewDriver(client), 3);  // no section named 3, nor 256 taken as a slot
    EXPECT_EQ(Driver(3)->Params().Lines(), (std::vector<std::string>{"Host=client", "Port=21302"}));
    EXPECT_EQ(NewLine(3, -1, "QryDelay=1"), 1);
    EXPECT_EQ(Line(1)->Params().Value("QryDelay"), "9");
    EXPECT_EQ(NewLine(3), 2);
    EXPECT_EQ(Line(2)->Params().Value("Tag"), "leading zeros");
}

TEST_F(NXStartupTest, CommonLogLevelIsTheDriversDefault) {
    struct Case {
        const char *common;
        int expected;
    };
    const Case cases[] = {
        {"LogLevel=8", 8},
        {"LogLevel=-1", TCommDriver::kDefaultLogLevel},
        {"LogLevel=high", TCommDriver::kDefaultLogLevel},
        {"Other=1", TCommDriver::kDefaultLogLevel},
    };
    for (const Case &c : cases) {
        TCommDriver::SetDefaultLogLevel(TCommDriver::kDefaultLogLevel);
        EXPECT_EQ(StartWith(std::string("[Common]\n") + c.common + "\n"), 0);
        EXPECT_EQ(TCommDriver::DefaultLogLevel(), c.expected) << c.common;
    }
}

}  // namespace
}  // namespace lintra::nx::test
