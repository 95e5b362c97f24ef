#include "lintra/ports/delivery/MessageSources.h"

#include <gtest/gtest.h>

#include <cstring>

#include "lintra/include/lintra.h"

namespace lintra {
namespace {

TEST(MessageSources, WithTheTableEmptyEveryCallFindsNothing) {
    uint8_t buffer[22] = {};
    for (int driver : {-1, 0, 1, 255, 256})
        for (int line : {0, 1, 255}) {
            EXPECT_EQ(NewGetEvent(driver, line, 0), 0);
            EXPECT_FALSE(NewQueryMessageOldFormat(driver, line, 0));
            EXPECT_FALSE(NewGetLineMessageOldFormat(driver, line, buffer, true, 0));
            EXPECT_FALSE(NewResumeLine(driver, line, 0));
            NewLineConn(driver, line, true, 0);
        }
}

struct RecordingLine : TSourceLine {
    void LineCommand(const std::string &text) override { commands.push_back(text); }
    std::vector<std::string> commands;
};

class InstalledSource : public ::testing::Test {
protected:
    void SetUp() override {
        source_->SetLine(2, 3, line_);
        ASSERT_TRUE(MessageSources::instance().Install(7, source_));
    }
    void TearDown() override { MessageSources::instance().Install(7, nullptr); }

    std::shared_ptr<TMessageSource> source_ = std::make_shared<TMessageSource>();
    std::shared_ptr<RecordingLine> line_ = std::make_shared<RecordingLine>();
};

TEST_F(InstalledSource, EventsAreSetAndAnsweredOnlyForObjectsThatExist) {
    EXPECT_EQ(NewGetEvent(7, 0, 0), reinterpret_cast<intptr_t>(&source_->event));
    EXPECT_TRUE(source_->event.WaitFor(0));
    EXPECT_EQ(NewGetEvent(7, 2, 3), reinterpret_cast<intptr_t>(&line_->dataEvent));
    EXPECT_TRUE(line_->dataEvent.WaitFor(0));
    for (auto [line, sub] : {std::pair{2, 4}, {3, 3}, {256, 3}, {2, 16}, {2, -1}}) {
        EXPECT_EQ(NewGetEvent(7, line, sub), 0) << line << "/" << sub;
        EXPECT_FALSE(NewResumeLine(7, line, sub)) << line << "/" << sub;
    }
    EXPECT_TRUE(NewResumeLine(7, 2, 3));
    EXPECT_TRUE(line_->readyEvent.WaitFor(0));
}

TEST_F(InstalledSource, SlotIsTakenWhenItsFirstFieldEqualsSub) {
    line_->slot.line = 3;
    line_->slot.code = 0x21;
    EXPECT_TRUE(NewQueryMessageOldFormat(7, 2, 3));
    EventRecord got{};
    EXPECT_TRUE(NewGetLineMessageOldFormat(7, 2, &got, true, 3));
    EXPECT_EQ(got.code, 0x21);
    EXPECT_EQ(line_->slot.line, 0);
    EXPECT_TRUE(line_->readyEvent.WaitFor(0)) << "resumed";
    EXPECT_FALSE(NewQueryMessageOldFormat(7, 2, 3));
    EXPECT_FALSE(NewGetLineMessageOldFormat(7, 2, &got, false, 3));
    EXPECT_FALSE(NewGetLineMessageOldFormat(7, 2, nullptr, false, 3));
}

TEST_F(InstalledSource, ConnectionReportReachesTheLineObject) {
    NewLineConn(7, 2, true, 3);
    ASSERT_EQ(line_->commands.size(), 1u);
    EXPECT_EQ(line_->commands[0].rfind("linenumber=3\x08" "event_code=S203\x08parameter1=", 0), 0u) << line_->commands[0];
}

TEST(LineConnText, EventCodeOfLinesTwoAndThreeOnly) {
    const struct {
        int line;
        bool connected;
        int sub;
        const char *text;
    } cases[] = {
        {2, true, 0, "linenumber=0\x08" "event_code=S203\x08parameter1=0A"},
        {2, false, 15, "linenumber=F\x08" "event_code=S204\x08parameter1=0A"},
        {3, true, 1, "linenumber=1\x08" "event_code=S303\x08parameter1=0A"},
        {3, false, 1, "linenumber=1\x08" "event_code=S304\x08parameter1=0A"},
        {4, true, 1, "linenumber=1\x08" "event_code=parameter1=0A"},
    };
    for (const auto &c : cases) EXPECT_EQ(LineConnText(c.line, c.connected, c.sub, 10), c.text) << c.line;
}

}  // namespace
}  // namespace lintra
