// The NCX controller of ncx-sim driven through its packet stream: the text a client sends in,
// the exact lines the controller answers out.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/tests/NcxWire.h"

namespace sim::test {
namespace {

using namespace std::string_literals;

const std::string kStartNotice = "T1LFE102D00\r";
const std::string kPasswordRequired = "T1LFE107D00\r";
const std::string kEmptyConfig = "T1LFA101D109999999999999999\r";
// "secret" zero-filled to 16, as the library sends it.
const std::string kSecret = "T0LFS10CD10secret\0\0\0\0\0\0\0\0\0\0\r"s;

struct Step {
    std::string in;
    std::string out;
};
struct Script {
    std::string name;
    std::string password;
    std::vector<Step> steps;
};

void PrintTo(const Script &script, std::ostream *os) { *os << script.name; }

class NcxScript : public ::testing::TestWithParam<Script> {};

TEST_P(NcxScript, AnswersEachStepExactly) {
    NcxWire wire(NcxSettings{GetParam().password});
    ASSERT_EQ(wire.open(), kStartNotice);
    for (const Step &step : GetParam().steps) EXPECT_EQ(wire.send(step.in), step.out) << "after " << step.in;
}

const Script kScripts[] = {
    {"StartUpWithoutPassword",
     "",
     {{"T0LFG109D00\r", "T1LFA109D0BNCX-SIM 1.0\r"},
      {"T0LFG101D00\r", kEmptyConfig},
      {"T0LFS101D102939999999999999\r", "T1LFA101D00\r"},
      {"T0LFG101D00\r", "T1LFA101D102939999999999999\r"},
      {"T0LFG108D00\r", "T1LFA108D00\r"}}},
    {"StartUpWithPassword",
     "secret",
     {{"T0LFG109D00\r", "T1LFA109D0BNCX-SIM 1.0\r"},  // the keep-alive question needs no password
      {"T0LFG101D00\r", kPasswordRequired},
      {"T0LFS101D102999999999999999\r", kPasswordRequired},
      {kSecret, "T1LFA10CD00\r"},
      {"T0LFG101D00\r", kEmptyConfig},
      {"T0LFS101D102999999999999999\r", "T1LFA101D00\r"}}},
    {"WrongPasswordsAreRefused",
     "secret",
     {{"T0LFS10CD10Secret\0\0\0\0\0\0\0\0\0\0\r"s, "T1LFE10CD00\r"},
      {"T0LFS10CD10secret\0\0\0\0\0\0\0\0\0X\r"s, "T1LFE10CD00\r"},  // all 16 characters count
      {"T0LFS10CD10secret          \r", "T1LFE10CD00\r"},
      {"T0LFS10CD06secret\r", "T1LFE10CD00\r"},
      {"T0LFG101D00\r", kPasswordRequired}}},
    {"SixteenCharacterPassword",
     "0123456789abcdef",
     {{"T0LFS10CD100123456789abcdef\r", "T1LFA10CD00\r"}, {"T0LFG101D00\r", kEmptyConfig}}},
    {"ResetForgetsTheConfiguration",
     "",
     {{"T0LFS101D102939999999999999\r", "T1LFA101D00\r"},
      {"T0LFS109D00\r", kStartNotice},
      {"T0LFG101D00\r", kEmptyConfig}}},
    {"ResetWaitsForThePasswordAndForgetsIt",
     "secret",
     {{"T0LFS109D00\r", kPasswordRequired},
      {kSecret, "T1LFA10CD00\r"},
      {"T0LFS109D00\r", kStartNotice},
      {"T0LFG101D00\r", kPasswordRequired}}},
    {"Pace",
     "",
     {{"T0LFS10AD020A\r", "T1LFA10AD00\r"},
      {"T0LFS10AD020a\r", "T1LFE10AD00\r"},
      {"T0LFS10AD01A\r", "T1LFE10AD00\r"}}},
    {"UnknownCodesAndDataLengths",
     "",
     {{"T0LFG1FFD00\r", "T1LFE1FFD00\r"},
      {"T0LFS300D00\r", "T1LFE300D00\r"},
      {"T0LFA109D00\r", "T1LFE109D00\r"},
      {"T0LFG109D01X\r", "T1LFE109D00\r"},
      {"T0LFS101D03999\r", "T1LFE101D00\r"},
      {"T0LFS101D10999999999999999a\r", "T1LFE101D00\r"},
      {"T0LFG101D00\r", kEmptyConfig}}},
    {"PiecesAndTerminators",
     "",
     {{"T0LF", ""},
      {"G10", ""},
      {"9D00", ""},
      {"\r", "T1LFA109D0BNCX-SIM 1.0\r"},
      {"T0LFG108D00\n", "T1LFA108D00\r"},
      {"T0LFG108D00\r", "T1LFA108D00\r"},
      {"\n", ""},
      {"T0LFG108D00\r\n", "T1LFA108D00\r"},
      {"\n\r\n\rT0LFG108D00\r\nT0LFG108D", "T1LFA108D00\r"},
      {"00\n", "T1LFA108D00\r"}}},
    {"MalformedLinesGoUnanswered",
     "",
     {{"t0LFG109D00\r", ""},
      {"T0lFG109D00\r", ""},
      {"TGLFG109D00\r", ""},
      {"T0LFg109D00\r", ""},
      {"T0LFG10aD00\r", ""},
      {"T0LFG109D0\r", ""},
      {"T0LFG109D01\r", ""},
      {"T0LFG109D00X\r", ""},
      {"T1LFXZZZD00\r", ""},
      {"garbage\r", ""},
      {"T0LFG108D00\r", "T1LFA108D00\r"}}},
    {"PacketsForEmptySlotsGoUnanswered",
     "",
     {{"T0L3S203D01A\r", ""}, {"T0L0G201D00\r", ""}, {"T0LFG108D00\r", "T1LFA108D00\r"}}},
};

INSTANTIATE_TEST_SUITE_P(Exchanges, NcxScript, ::testing::ValuesIn(kScripts),
                         [](const auto &info) { return info.param.name; });

TEST(NcxController, CountsTheLinesItIgnores) {
    NcxWire wire;
    wire.open();
    wire.send("garbage\rT0L3S203D01A\rT0LFG109D0\r" + std::string(300, 'A') + "\rT0LFG108D00\r");
    const NcxCounters &c = wire.controller.counters;
    EXPECT_EQ(c.connections, 1u);
    EXPECT_EQ(c.packets, 2u);
    EXPECT_EQ(c.malformed, 3u);
    EXPECT_EQ(c.unrouted, 1u);
    EXPECT_EQ(c.bytes, 8u + 13u + 11u + 301u + 12u);
}

TEST(NcxController, TakesTheLongestPacketAndRefusesALongerLine) {
    NcxWire wire;
    wire.open();
    const std::string longest = "T0LFG1FFDFF" + std::string(255, 'x');
    EXPECT_EQ(wire.send(longest + "\r"), "T1LFE1FFD00\r");
    EXPECT_EQ(wire.send(longest + "y\r"), "");
    // Whatever follows the cut within the same line is dropped, not read as a new line.
    EXPECT_EQ(wire.send(longest + "T0LFG108D00\rT0LFG108D00\r"), "T1LFA108D00\r");
    EXPECT_EQ(wire.controller.counters.malformed, 2u);
}

TEST(NcxController, ANewConnectionBeginsANewSession) {
    NcxWire wire(NcxSettings{"secret"});
    wire.open();
    wire.send(kSecret + "T0LFS101D102999999999999999\rT0LFS10AD0210\r");
    EXPECT_TRUE(wire.controller.authorised());
    EXPECT_EQ(wire.controller.configuration(), "2999999999999999");
    EXPECT_EQ(wire.controller.pace(), 16u);

    EXPECT_EQ(wire.controller.connect(), kStartNotice);
    EXPECT_FALSE(wire.controller.authorised());
    EXPECT_EQ(wire.controller.configuration(), std::string(16, '9'));
    EXPECT_EQ(wire.controller.pace(), 0u);
    EXPECT_EQ(wire.controller.counters.connections, 2u);
}

TEST(NcxController, SilentReadsAndCountsButSendsNothing) {
    NcxWire wire(NcxSettings{"secret"});
    wire.controller.faults.silent = true;
    EXPECT_EQ(wire.open(), "");
    EXPECT_EQ(wire.send(kSecret + "T0LFG109D00\rjunk\r"), "");
    EXPECT_EQ(wire.controller.restart(), "");
    EXPECT_FALSE(wire.controller.authorised()) << "a silent controller acts on nothing";
    EXPECT_EQ(wire.controller.counters.packets, 2u);
    EXPECT_EQ(wire.controller.counters.malformed, 1u);

    wire.controller.faults.silent = false;
    EXPECT_EQ(wire.send("T0LFG108D00\r"), "T1LFA108D00\r");
}

TEST(NcxController, RefusePasswordRefusesTheRightOne) {
    NcxWire wire(NcxSettings{"secret"});
    wire.open();
    wire.controller.faults.refusePassword = true;
    EXPECT_EQ(wire.send(kSecret), "T1LFE10CD00\r");
    EXPECT_FALSE(wire.controller.authorised());
    wire.controller.faults.refusePassword = false;
    EXPECT_EQ(wire.send(kSecret), "T1LFA10CD00\r");
}

// A line model that answers every packet with kind 2 and the answer letter.
class EchoLine : public NcxLineModel {
public:
    std::vector<NcxPacket> receive(const NcxPacket &p) override {
        return {{2, p.line, "A" + p.code.substr(1), p.data}};
    }
};

TEST(NcxController, LinePacketsReachTheModelOfTheirSlotUntilTheNextSession) {
    std::string asked;
    NcxWire wire(NcxSettings{}, [&asked](char digit) -> std::unique_ptr<NcxLineModel> {
        asked += digit;
        if (digit == '9') return nullptr;
        return std::make_unique<EchoLine>();
    });
    wire.open();
    ASSERT_EQ(wire.send("T0LFS101D1029F9999999999993\r"), "T1LFA101D00\r");
    EXPECT_EQ(asked, "29F999999999999") << "one model per line slot 0 to E";

    EXPECT_EQ(wire.send("T0L0G201D00\r"), "T2L0A201D00\r");
    EXPECT_EQ(wire.send("T0L2S203D01A\r"), "T2L2A203D01A\r");
    EXPECT_EQ(wire.send("T0L1G201D00\r"), "");
    EXPECT_EQ(wire.controller.counters.unrouted, 1u);

    wire.send("T0LFS109D00\r");
    EXPECT_EQ(wire.send("T0L0G201D00\r"), "");
    EXPECT_EQ(wire.controller.counters.unrouted, 2u);
}

}  // namespace
}  // namespace sim::test
