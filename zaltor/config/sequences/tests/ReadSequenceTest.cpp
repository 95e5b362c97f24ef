// The read sequence against the simulated panel: the commands, the records, where it stops; and
// saving what it read to a file.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "zaltor/config/sequences/ReadSequence.h"
#include "zaltor/config/sequences/SavePanelToFile.h"
#include "zaltor/config/sequences/tests/SequenceFixture.h"
#include "zaltor/config/tests/RecordFixtures.h"

namespace zaltor {
namespace {

using Lines = std::vector<std::string>;
using fixtures::recordText;

struct ReadFixture : testing::SequenceFixture {
    // Three blocks, two zones, a card, a password and a section member in the panel.
    ReadFixture() {
        sim::PanelTables &t = panel.panel.tables();
        t.slots[0] = {0x0105, 0x42};
        t.slots[1] = {0x0203, 0x72};
        t.slots[2] = {0x0007, 0x38};
        t.lastPolledZone = 2;
        t.zones[0] = {.flags = 0x23, .state = 0x10, .blockType = 0x42, .timer = 0, .armDelay = 4, .triggerDelay = 9};
        t.zones[1].flags = 0x04;
        t.cards[3] = {0x00, 0x12, 0xAB, 0x0F};
        t.passwords[1] = {0x12, 0x34, 0xFF, 0xFF};
        t.sections[0][1][0] = 0x80;
    }

    int read() { return readPanel(ctx, connection, buffer); }

    RecordBuffer buffer;
};

struct ReadSequenceTest : ::testing::Test, ReadFixture {};

TEST_F(ReadSequenceTest, EveryTableInOrder) {
    const int commands = 50 + 1 + 6 * 256 + 3 * 2;
    EXPECT_EQ(read(), commands * 18);

    const Lines sent = panel.exchangeTexts();
    ASSERT_EQ(sent.size(), static_cast<size_t>(commands));
    EXPECT_EQ(sent[0], "91: 01");
    EXPECT_EQ(sent[49], "91: 32");
    EXPECT_EQ(Lines(sent.begin() + 50, sent.begin() + 58),
              (Lines{"93: ", "12: 00 00", "12: 01 00", "85: 00 00", "85: 00 01", "85: 00 02", "85: 00 03", "12: 00 01"}));
    EXPECT_EQ(Lines(sent.end() - 7, sent.end()),
              (Lines{"85: FF 03", "81: 01", "104: 00 01", "104: 01 01", "81: 02", "104: 00 02", "104: 01 02"}));

    const auto records = buffer.records();
    EXPECT_EQ(recordText(records[0]), "89: 01 01 05 42");
    EXPECT_EQ(recordText(records[3]), "89: 04 FF FF 42");
    EXPECT_EQ(recordText(records[50]), "90: 02");
    EXPECT_EQ(recordText(records[51]), "5: 00 FF FF FF FF");              // user 0: unset password, d5 = 0
    EXPECT_EQ(recordText(records[51 + 6 + 1]), "5: 01 00 00 00 00 01");   // user 1's card
    EXPECT_EQ(recordText(records[51 + 6]), "5: 00 12 34 FF FF 01");       // user 1's password
    EXPECT_EQ(recordText(records[51 + 18 + 1]), "5: 01 00 12 AB 0F 03");  // user 3's card
    EXPECT_EQ(recordText(records[51 + 3]), "86: 00 01 80");
    EXPECT_EQ(recordText(records[commands - 6]), "85: 01 23 10 42");
    EXPECT_EQ(recordText(records[commands - 5]), "95: 00 01 04");
    EXPECT_EQ(recordText(records[commands - 4]), "95: 01 01 09");

    EXPECT_EQ(ui.statusLines[50], "Считывается посл. опр. зона 51.");
    EXPECT_EQ(ui.statusLines[53], "Считывается ключ (разделы) № 0.");
    EXPECT_EQ(ui.statusLines.back(), "Считывается отлож. срабатывание для зоны № 2.");
    EXPECT_EQ(gauge.steps, commands);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ReadSequenceTest, KeyRepliesCarryTheUserNumberWhateverThePanelSent) {
    panel.script = [](const testing::Exchange &e) -> std::optional<testing::Scripted> {
        if (e.command != 12) return std::nullopt;
        if (e.params[0] == 0) return testing::Scripted{0, 5, false, {0, 0x12, 0x34, 0xFF, 0xFF, 99}};
        return testing::Scripted{0, 5, false, {1, 0xAA}};  // a short reply
    };
    ASSERT_GT(read(), 0);
    const auto records = buffer.records();
    EXPECT_EQ(recordText(records[51 + 6 * 7]), "5: 00 12 34 FF FF 07");
    EXPECT_EQ(recordText(records[51 + 6 * 7 + 1]), "5: 01 AA 00 00 00 07");
}

TEST_F(ReadSequenceTest, NoZonesNoZoneCommands) {
    panel.panel.tables().lastPolledZone = 0;
    EXPECT_EQ(read(), (50 + 1 + 6 * 256) * 18);
    EXPECT_EQ(panel.count(81) + panel.count(104), 0u);
}

TEST_F(ReadSequenceTest, AnAbortInTheKeyLoopStopsBeforeTheNextUser) {
    abortAt("Считывается ключ № 3.");
    EXPECT_EQ(read(), -1);
    EXPECT_EQ(panel.exchangeTexts().back(), "85: 03 03");
    EXPECT_EQ(panel.calls.back(), "CloseCom 3");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ReadSequenceTest, AFailedCommandStopsTheReading) {
    struct Case {
        uint16_t command;
        std::optional<uint8_t> first;
        const char *message;
    };
    const Case cases[] = {
        {91, 7, "Сообщение: Ошибка при считывании блока №7.  Ev=101"},
        {93, std::nullopt, "Сообщение: Ошибка при считывании посл. опр. зоны Ev=101"},
        {12, 1, "Сообщение: Ошибка при считывании ключа №0.  Ev=101"},
        {85, 4, "Сообщение: Ошибка при считывании ключа №4.(разделы) Ev=101"},
        {81, 2, "Сообщение: Ошибка при считывании зоны №2.  Ev=101"},
        {104, 0, "Сообщение: Ошибка при считывании отлож. пост. зоны №1.  Ev=101"},
        {104, 1, "Сообщение: Ошибка при считывании отлож. сраб. зоны №1.  Ev=101"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.message);
        ReadFixture f;
        f.silentOn(c.command, c.first);
        EXPECT_EQ(f.read(), -1);
        EXPECT_EQ(f.ui.messages, (Lines{c.message}));
        EXPECT_EQ(f.panel.calls.back(), "CloseCom 3");
    }
}

TEST_F(ReadSequenceTest, SavingToAFile) {
    struct Case {
        const char *name;
        std::function<void(ReadFixture &)> setUp;
        std::string file;
        SequenceResult result;
        Lines messages;
        bool saved;
    };
    const Case cases[] = {
        {"saved", [](ReadFixture &) {}, "Zaltor.xml", SequenceResult::Completed, {}, true},
        {"reading failed", [](ReadFixture &f) { f.silentOn(93); }, "Zaltor.xml", SequenceResult::Failed,
         {"Сообщение: Ошибка при считывании посл. опр. зоны Ev=101", "Сообщение: Нет связи (ошибка связи) с панелью"},
         false},
        {"aborted", [](ReadFixture &f) { f.abortAt("Считывается блок № 2."); }, "Zaltor.xml",
         SequenceResult::Aborted, {}, false},
        {"file cannot be written", [](ReadFixture &) {}, "no-such-dir/Zaltor.xml", SequenceResult::Failed,
         {}, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ReadFixture f;
        c.setUp(f);
        const std::string file = (f.dir / c.file).string();
        EXPECT_EQ(savePanelToFile(f.ctx, f.connection, f.buffer, file), c.result);
        Lines messages = c.messages;
        if (c.file != "Zaltor.xml") messages.push_back("Ошибка: Ошибка при записи в файл " + file);
        EXPECT_EQ(f.ui.messages, messages);
        EXPECT_EQ(std::filesystem::exists(file), c.saved);
        EXPECT_EQ(f.gauge.position, 0);
    }
}

}  // namespace
}  // namespace zaltor
