#include "zaltor/shell/binding/CommandLine.h"

#include <gtest/gtest.h>

namespace zaltor::shell {
namespace {

std::string joined(const std::vector<std::string> &args) {
    std::string text;
    for (const std::string &a : args) text += "[" + a + "]";
    return text;
}

CommandLine interactive(std::optional<std::string> alias) {
    CommandLine line;
    line.alias = std::move(alias);
    return line;
}

CommandLine batch(std::string alias, int32_t panel) {
    CommandLine line;
    line.mode = StartMode::Batch;
    line.alias = std::move(alias);
    line.panel = panel;
    return line;
}

CommandLine only(StartMode mode, std::string problem = {}) {
    CommandLine line;
    line.mode = mode;
    line.problem = std::move(problem);
    return line;
}

CommandLine with(CommandLine line, void (*change)(CommandLine &)) {
    change(line);
    return line;
}

struct Case {
    std::vector<std::string> args;
    CommandLine expected;
};

TEST(CommandLineTest, PositionalArgumentsChooseTheModeAndOptionsAreNotCounted) {
    const std::string tooMany(kParameterFormatMessage);
    const Case cases[] = {
        {{}, interactive(std::nullopt)},
        {{"DEMO"}, interactive("DEMO")},
        {{"DEMO", "12"}, batch("DEMO", 12)},
        {{"DEMO", "12", "x"}, only(StartMode::Refused, tooMany)},
        {{"a", "b", "c", "d"}, only(StartMode::Refused, tooMany)},
        {{"--save", "f.xml", "a", "b", "c"}, only(StartMode::Refused, tooMany)},
        // Options anywhere; a value belongs to its option, not to the positional count.
        {{"--verify", "DEMO", "--force", "12"}, with(batch("DEMO", 12), [](CommandLine &l) { l.verify = l.force = true; })},
        {{"DEMO", "--save", "out.xml", "12"}, with(batch("DEMO", 12), [](CommandLine &l) { l.saveFile = "out.xml"; })},
        {{"DEMO", "12", "--save=out.xml", "--load", "in.xml"}, with(batch("DEMO", 12), [](CommandLine &l) {
             l.saveFile = "out.xml";
             l.loadFile = "in.xml";
         })},
        {{"DEMO", "12", "--load=a=b.xml"}, with(batch("DEMO", 12), [](CommandLine &l) { l.loadFile = "a=b.xml"; })},
        {{"DEMO", "12", "--verify", "--verify"}, with(batch("DEMO", 12), [](CommandLine &l) { l.verify = true; })},
        // Only "--" makes an option; after a bare "--" nothing does.
        {{"-h"}, interactive("-h")},
        {{"--", "--DEMO", "12"}, batch("--DEMO", 12)},
        {{"DEMO", "--", "-5"}, batch("DEMO", -5)},
        {{"DEMO", "12", "--", "--force"}, only(StartMode::Refused, tooMany)},
    };
    for (const Case &c : cases) EXPECT_EQ(parseCommandLine(c.args), c.expected) << joined(c.args);
}

TEST(CommandLineTest, HelpAndVersionWinOverEverythingElse) {
    const Case cases[] = {
        {{"--help"}, only(StartMode::Help)},
        {{"--version"}, only(StartMode::Version)},
        {{"--help", "--version"}, only(StartMode::Help)},
        {{"--version", "--help"}, only(StartMode::Help)},
        {{"a", "b", "c", "--help"}, only(StartMode::Help)},
        {{"--bogus", "--version"}, only(StartMode::Version)},
        {{"DEMO", "x", "--help"}, only(StartMode::Help)},
        {{"--", "--help"}, interactive("--help")},
    };
    for (const Case &c : cases) EXPECT_EQ(parseCommandLine(c.args), c.expected) << joined(c.args);
}

TEST(CommandLineTest, WrongCommandLinesAreRefusedWithTheFirstProblem) {
    const Case cases[] = {
        {{"--bogus"}, only(StartMode::Refused, "unknown option --bogus")},
        {{"DEMO", "12", "--save"}, only(StartMode::Refused, "--save needs a file name")},
        {{"DEMO", "12", "--save="}, only(StartMode::Refused, "--save needs a file name")},
        {{"DEMO", "12", "--save", "--force"}, only(StartMode::Refused, "--save needs a file name")},
        {{"DEMO", "12", "--load", "--", "x"}, only(StartMode::Refused, "--load needs a file name")},
        {{"DEMO", "12", "--load", "a", "--load", "b"}, only(StartMode::Refused, "--load is given twice")},
        {{"DEMO", "12", "--force=yes"}, only(StartMode::Refused, "--force takes no value")},
        {{"--bogus", "--save"}, only(StartMode::Refused, "unknown option --bogus")},
        {{"DEMO", "12", "x", "--bogus"}, only(StartMode::Refused, "unknown option --bogus")},
        // Batch options outside batch mode would be dropped without a word.
        {{"DEMO", "--verify"}, only(StartMode::Refused, "--verify, --force, --save and --load need ALIAS and N")},
        {{"--load", "in.xml"}, only(StartMode::Refused, "--verify, --force, --save and --load need ALIAS and N")},
        // A panel number that is no integer ends before any database work.
        {{"DEMO", "12a"}, only(StartMode::Refused, panelNumberProblem("12a"))},
        {{"DEMO", ""}, only(StartMode::Refused, panelNumberProblem(""))},
        {{"DEMO", "99999999999"}, only(StartMode::Refused, panelNumberProblem("99999999999"))},
    };
    for (const Case &c : cases) EXPECT_EQ(parseCommandLine(c.args), c.expected) << joined(c.args);
    EXPECT_EQ(panelNumberProblem("12a"), "Номер панели по Ctab=12a не является целым числом");
}

TEST(CommandLineTest, PanelNumberIsASignedDecimalWithin32Bits) {
    const std::pair<std::string_view, std::optional<int32_t>> cases[] = {
        {"12", 12},
        {"007", 7},
        {"0", 0},
        {"-3", -3},
        {"+4", 4},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"2147483648", std::nullopt},
        {"", std::nullopt},
        {"+", std::nullopt},
        {"-", std::nullopt},
        {"+-1", std::nullopt},
        {"++1", std::nullopt},
        {" 12", std::nullopt},
        {"12 ", std::nullopt},
        {"1.5", std::nullopt},
        {"0x10", std::nullopt},
        {"$10", std::nullopt},
        {"١٢", std::nullopt},  // digits of another script
    };
    for (const auto &[text, expected] : cases) EXPECT_EQ(parsePanelNumber(text), expected) << "[" << text << "]";
}

TEST(CommandLineTest, UsageNamesEveryOptionAndTheLoaderFormat) {
    for (std::string_view shown : {"--help", "--version", "--verify", "--save FILE", "--load FILE", "--force", "  --  ",
                                   "формат Zaltor.exe <AliasBDE> {<N.Ctab для панели>}"})
        EXPECT_NE(usageText().find(shown), std::string_view::npos) << shown;
}

}  // namespace
}  // namespace zaltor::shell
