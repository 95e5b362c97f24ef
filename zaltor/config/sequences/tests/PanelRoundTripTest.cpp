// What is written into a panel reads back, through the configuration file, as the same image.
#include <gtest/gtest.h>

#include "zaltor/config/ConfigFile.h"
#include "zaltor/config/sequences/ReadSequence.h"
#include "zaltor/config/sequences/WriteSequence.h"
#include "zaltor/config/sequences/tests/SequenceFixture.h"
#include "zaltor/config/tests/RecordFixtures.h"

namespace zaltor {
namespace {

using fixtures::reply;

uint8_t bcd(int v) { return static_cast<uint8_t>(v / 10 << 4 | v % 10); }

// The records of a configuration file saved from a busy panel: blocks of several types, every
// zone up to the zone count with flags and delays, every user's keys (user 0 has no password),
// section members in every quarter.
RecordBuffer savedPanel() {
    RecordBuffer r;
    const auto add = [&](const CommandRecord &record) { ASSERT_TRUE(r.append(record)); };
    add(reply(89, {1, 0x01, 0x05, 0x42}));
    add(reply(89, {2, 0x02, 0x03, 0x72}));
    add(reply(89, {3, 0x00, 0x07, 0x38}));
    add(reply(89, {4, 0x12, 0x34, 0xA0}));
    const int zones = 40;
    add(reply(90, {zones}));
    for (int z = 1; z <= zones; ++z) {
        const auto zone = static_cast<uint8_t>(z);
        add(reply(85, {zone, static_cast<uint8_t>(z % 8 | (z % 3 == 0) << 5)}));
        add(reply(95, {0, zone, static_cast<uint8_t>(z * 2)}));
        add(reply(95, {1, zone, static_cast<uint8_t>(z * 3)}));
    }
    for (int u = 0; u <= 255; ++u) {
        const auto user = static_cast<uint8_t>(u);
        if (u == 0) add(reply(5, {0, 0xFF, 0xFF, 0, 0, user}));
        else add(reply(5, {0, bcd(u % 100), bcd(u * 7 % 100), 0, 0, user}));
        add(reply(5, {1, user, 0x5A, static_cast<uint8_t>(255 - u), 0x0F, user}));
    }
    for (int q = 0; q < 3; ++q) add(reply(86, {9, uint8_t(q), uint8_t(0x80 | 1 << q), 0, 0, 0x40, 0, 0, 0, 0}));
    add(reply(86, {200, 3, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));  // members 193..200 only
    return r;
}

struct PanelRoundTripTest : ::testing::Test, testing::SequenceFixture {};

TEST_F(PanelRoundTripTest, WriteReadSaveLoadGivesTheSameImage) {
    ConfigImage written;
    ASSERT_TRUE(written.loadRecords(savedPanel()));
    ASSERT_EQ(writeSequence(ctx, connection, written), SequenceResult::Completed);

    RecordBuffer read;
    ASSERT_GT(readPanel(ctx, connection, read), 0);
    const std::string file = (dir / "Zaltor.xml").string();
    ASSERT_TRUE(saveConfigFile(read, file));
    RecordBuffer loaded;
    ASSERT_TRUE(loadConfigFile(file, loaded).complete);
    ConfigImage back;
    ASSERT_TRUE(back.loadRecords(loaded));

    // The file keeps no member above 200.
    written.sections[200][3] = {0, 0, 0xFF, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(back, written);
    EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace zaltor
