// The write sequence: the exact commands for an image, their texts, and where it stops.
#include <gtest/gtest.h>

#include <algorithm>

#include "zaltor/config/sequences/WriteOperations.h"
#include "zaltor/config/sequences/WriteSequence.h"
#include "zaltor/config/sequences/tests/SequenceFixture.h"
#include "zaltor/config/tests/RecordFixtures.h"

namespace zaltor {
namespace {

using Lines = std::vector<std::string>;

// Three blocks (one M39, one of no known type), the zone count above 200, two used zone slots
// around an unused one, one card, one password and one section member.
ConfigImage smallImage() {
    ConfigImage image;
    image.blocks = {{0, 0x0105, "M31"}, {1, 0x0203, "M39"}, {0, 7, "M99"}};
    image.zoneCount = 250;
    image.zones[0] = {kSensorZone, 1, 1, 1, 0, 9, 4, 1, 1};
    image.zones[2] = {kControlChannel, 1, 1, 0, 1, 0, 0, 0, 7};
    image.cards[2] = {1, 2, 0x00, 0x12, 0xAB, 0x0F};
    image.passwords[1][2] = 0x12;
    image.passwords[1][3] = 0x34;
    image.sections[0][1][2] = 0x80;  // zone 65
    return image;
}

ConfigImage fullImage(int m39Blocks) {
    ConfigImage image;
    for (int b = 0; b < m39Blocks; ++b) image.blocks.push_back({b + 1, 0x10 + b, "M39"});
    for (int s = 1; s <= ConfigImage::kZoneSlots; ++s) image.zones[s - 1].zoneNumber = static_cast<uint8_t>(s);
    image.zoneCount = 200;
    return image;
}

// The caption of each log line of a command, consecutive repeats once.
Lines captions(const Lines &log) {
    Lines out;
    for (const std::string &line : log) {
        const std::string caption = line.substr(0, line.find(" Линия:"));
        if (caption != "^^^^^^^^^^" && (out.empty() || out.back() != caption)) out.push_back(caption);
    }
    return out;
}

struct WriteSequenceTest : ::testing::Test, testing::SequenceFixture {};

TEST_F(WriteSequenceTest, ExactCommandsForASmallImage) {
    EXPECT_EQ(writeSequence(ctx, connection, smallImage()), SequenceResult::Completed);

    Lines head = {"92: 01 01 05 42", "92: 02 02 03 34", "92: 03 00 07 00"};
    for (int c = 4; c <= 50; ++c) head.push_back("92: " + testsupport::toHex(std::vector<uint8_t>{uint8_t(c)}) + " FF FF 42");
    head.insert(head.end(), {"102: 01 02 03", "94: C8", "82: 01 23", "103: 00 01 04", "103: 01 01 09", "82: 07 05",
                             "103: 00 07 00", "103: 01 07 00"});
    const Lines sent = panel.exchangeTexts();
    ASSERT_EQ(sent.size(), head.size() + 256 + 255 + 1024);
    EXPECT_EQ(Lines(sent.begin(), sent.begin() + head.size()), head);

    const size_t cards = head.size(), passwords = cards + 256, sections = passwords + 255;
    EXPECT_EQ(sent[cards], "8: 01 00 00 00 00 00");
    EXPECT_EQ(sent[cards + 2], "8: 01 02 00 12 AB 0F");
    EXPECT_EQ(sent[cards + 255], "8: 01 FF 00 00 00 00");
    EXPECT_EQ(sent[passwords], "8: 00 01 12 34 FF FF");  // user 0 gets no password
    EXPECT_EQ(sent[passwords + 1], "8: 00 02 FF FF FF FF");
    EXPECT_EQ(sent[sections], "84: 00 00 00 00 00 00 00 00 00 00");
    EXPECT_EQ(sent[sections + 1], "84: 00 01 80 00 00 00 00 00 00 00");
    EXPECT_EQ(sent.back(), "84: FF 03 00 00 00 00 00 00 00 00");

    EXPECT_EQ(gauge.steps, static_cast<int>(sent.size()));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(connection.lineStarted);  // writing alone leaves the connection open
}

TEST_F(WriteSequenceTest, TextsOfEachStep) {
    ASSERT_EQ(writeSequence(ctx, connection, smallImage()), SequenceResult::Completed);
    const Lines &status = ui.statusLines;
    EXPECT_EQ(status[0], "Прописывается блок № 1.");
    EXPECT_EQ(status[49], "Прописывается блок № 50.");
    EXPECT_EQ(status[50], "Прописывается блок № 2.");  // P03 of the block in position 2
    EXPECT_EQ(status[51], "Последняя опраш. зона 51.");
    EXPECT_EQ(Lines(status.begin() + 52, status.begin() + 58),
              (Lines{"Прописывается зона №1 1.", "Прописывается отлож. пост. зоны №1 1.",
                     "Прописывается отлож. срабатывания зоны №1 1.", "Прописывается зона №3 3.",
                     "Прописывается отлож. пост. зоны №3 3.", "Прописывается отлож. срабатывания зоны №3 3."}));
    EXPECT_EQ(status[58 + 2], "Прописывается карта №2 2.");
    EXPECT_EQ(status[58 + 256], "Прописывается пароль №1 1.");
    EXPECT_EQ(status.back(), "Прописывается раздел №255 255.");

    EXPECT_EQ(captions(logLines()),
              (Lines{"Порядок опроса", "Пустые блоки", "Р03 блоки", "Последняя опраш. зона", "Настройка для зоны",
                     "Отлож. постановка для зоны", "Отлож. срабатывание для зоны", "Настройка для зоны",
                     "Отлож. постановка для зоны", "Отлож. срабатывание для зоны", "Карта (код)", "Карта (пароль)",
                     "Разделы"}));
}

TEST(WritePlanTest, CommandCounts) {
    struct Case {
        const char *name;
        ConfigImage image;
        size_t commands;
    };
    const Case cases[] = {
        {"empty image: 50 empty slots, the zone count and the keys", ConfigImage{}, 50 + 1 + 256 + 255 + 1024},
        {"all 200 zones, no M39", fullImage(0), 2186},
        {"all 200 zones, three M39", fullImage(3), 2189},
    };
    for (const Case &c : cases) EXPECT_EQ(writePlan(c.image).size(), c.commands) << c.name;
}

TEST_F(WriteSequenceTest, AFullImageIsAcceptedByThePanel) {
    EXPECT_EQ(writeSequence(ctx, connection, fullImage(0)), SequenceResult::Completed);
    EXPECT_EQ(panel.exchanges.size(), 2186u);
    EXPECT_EQ(gauge.steps, 2186);
}

TEST_F(WriteSequenceTest, AnEmptyBlockListWritesFiftyEmptySlots) {
    ConfigImage image;
    image.zoneCount = 3;
    ASSERT_EQ(writeSequence(ctx, connection, image), SequenceResult::Completed);
    const Lines sent = panel.exchangeTexts();
    for (int c = 1; c <= 50; ++c) EXPECT_EQ(sent[c - 1].substr(6), " FF FF 42");
    EXPECT_EQ(sent[50], "94: 03");
    EXPECT_EQ(sent[51], "8: 01 00 00 00 00 00");
}

TEST_F(WriteSequenceTest, AnAbortDuringTheZonesClosesBeforeTheNextZone) {
    abortAt("Прописывается зона №1 1.");
    EXPECT_EQ(writeSequence(ctx, connection, smallImage()), SequenceResult::Aborted);
    EXPECT_EQ(panel.exchangeTexts().back(), "103: 01 01 09");  // the slot's delays need no check
    EXPECT_EQ(panel.count(8), 0u);
    EXPECT_EQ(panel.calls.back(), "CloseCom 3");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(WriteSequenceTest, AFailedCommandStopsEverything) {
    struct Case {
        uint16_t command;
        std::optional<uint8_t> first;
        const char *message;
        const char *lastGood;
    };
    const Case cases[] = {
        {92, 3, "Сообщение: Ошибка при прописывании блока №3.  Ev=101", "92: 02 02 03 34"},
        {102, std::nullopt, "Сообщение: Ошибка при прописывании P03 блока №1.  Ev=101", "92: 32 FF FF 42"},
        {94, std::nullopt, "Сообщение: Ошибка при прописывании послед.зоны. Ev=101", "102: 01 02 03"},
        {82, 7, "Сообщение: Ошибка при прописывании настройки зоны №7.  Ev=101", "103: 01 01 09"},
        {103, 1, "Сообщение: Ошибка при прописывании отлож. срабатывания зоны №1.  Ev=101", "103: 00 01 04"},
        {84, 9, "Сообщение: Ошибка при прописывании раздела №9.  Ev=101", "84: 08 03 00 00 00 00 00 00 00 00"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.message);
        testing::SequenceFixture f;
        f.silentOn(c.command, c.first);
        EXPECT_EQ(writeSequence(f.ctx, f.connection, smallImage()), SequenceResult::Failed);
        EXPECT_EQ(f.ui.messages, (Lines{c.message}));
        const Lines sent = f.panel.exchangeTexts();
        ASSERT_GE(sent.size(), 4u);
        EXPECT_EQ(sent[sent.size() - 4], c.lastGood);  // then the three attempts of the failed one
        EXPECT_EQ(f.panel.calls.back(), "CloseCom 3");
    }
}

TEST_F(WriteSequenceTest, AnExceptionOutsideTheCommandStepIsTheLinesError) {
    panel.script = [](const testing::Exchange &) { return std::optional<testing::Scripted>({.raises = true}); };
    ui.raiseOnNextMessage = true;  // the step's own report raises in turn
    EXPECT_EQ(writeSequence(ctx, connection, smallImage()), SequenceResult::Failed);
    EXPECT_EQ(ui.messages, (Lines{"Сообщение: Ошибка при прописывании блока", "Сообщение: Ошибка на линии №3"}));
    EXPECT_EQ(panel.calls.back(), "CloseCom 3");
}

TEST_F(WriteSequenceTest, WritingTheBuiltImageClosesAndReportsOnlyACompletedWrite) {
    struct Case {
        const char *name;
        bool batch;
        bool fails;
        Lines messages;
    };
    const Case cases[] = {
        {"completed", false, false, {"Сообщение: Загрузка данных прошла успешно"}},
        {"completed in batch mode", true, false, {}},
        {"failed", false, true, {"Сообщение: Ошибка при прописывании блока №1.  Ev=101"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        testing::SequenceFixture f;
        f.state.batchMode = c.batch;
        if (c.fails) f.silentOn(92);
        EXPECT_EQ(writeBuiltImage(f.ctx, f.connection, smallImage()),
                  c.fails ? SequenceResult::Failed : SequenceResult::Completed);
        EXPECT_EQ(f.ui.messages, c.messages);
        EXPECT_EQ(std::count(f.panel.calls.begin(), f.panel.calls.end(), "CloseCom 3"), 1);
        EXPECT_FALSE(f.connection.lineStarted);
        EXPECT_EQ(f.gauge.position, 0);
    }
}

TEST_F(WriteSequenceTest, RecordsWithoutKeysWriteEmptyCardsAndUnsetPasswords) {
    RecordBuffer records;
    ASSERT_TRUE(records.append(fixtures::reply(89, {1, 0x01, 0x05, 0x72})));
    ASSERT_TRUE(records.append(fixtures::reply(90, {1})));
    ConfigImage image = smallImage();
    EXPECT_EQ(writeFromRecords(ctx, connection, records, image), SequenceResult::Completed);

    EXPECT_EQ(image.blocks, (std::vector<BlcRecord>{{1, 0x0105, "M34"}}));
    const Lines sent = panel.exchangeTexts();
    EXPECT_EQ(sent[0], "92: 01 01 05 72");
    EXPECT_EQ(sent[50], "94: 01");
    for (int u = 0; u < 256; ++u) EXPECT_EQ(sent[51 + u].substr(8), " 00 00 00 00") << u;
    for (int u = 1; u < 256; ++u) EXPECT_EQ(sent[51 + 255 + u].substr(8), " FF FF FF FF") << u;
    EXPECT_TRUE(connection.lineStarted);  // the caller closes
    EXPECT_EQ(gauge.position, 0);
}

}  // namespace
}  // namespace zaltor
