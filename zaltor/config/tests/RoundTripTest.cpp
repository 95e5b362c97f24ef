#include "testsupport/TempDir.h"
#include "zaltor/config/ConfigFile.h"
#include "zaltor/config/ConfigImage.h"
#include "zaltor/config/tests/RecordFixtures.h"
#include "zaltor/config/tests/XmlLint.h"

#include <gtest/gtest.h>

namespace zaltor {
namespace {

using fixtures::recordText;
using fixtures::reply;

// The records a full reading of a busy panel yields, in reading order, each paired with the
// record the file gives back (none where the file leaves the record out).
struct Panel {
    RecordBuffer read;
    std::vector<ConfigRecord> expected;

    void add(const CommandRecord &answer, std::optional<CommandRecord> back) {
        ASSERT_TRUE(read.append(answer));
        if (back) expected.push_back(toConfigRecord(*back));
    }
    void same(const CommandRecord &answer) { add(answer, answer); }
};

uint8_t bcd(int v) { return static_cast<uint8_t>(v / 10 << 4 | v % 10); }

Panel busyPanel() {
    Panel p;
    const uint8_t codes[] = {0x42, 0x34, 0x52, 0x72, 0xA0, 0x48, 0x38};
    for (int slot = 1; slot <= 50; ++slot)
        p.same(reply(89, {uint8_t(slot), uint8_t(slot * 5 >> 8), uint8_t(slot * 5 + 1), codes[slot % 7]}));
    p.same(reply(90, {200}));
    for (int u = 0; u <= 255; ++u) {
        const uint8_t user = static_cast<uint8_t>(u);
        // The password of user 0 is never set.
        if (u == 0) p.same(reply(5, {0, 0xFF, 0xFF, 0, 0, user}));
        else p.same(reply(5, {0, bcd(u % 100), bcd(u * 3 % 100), 0, 0, user}));
        p.same(reply(5, {1, user, uint8_t(255 - u), 0xA5, uint8_t(u * 7), user}));
        for (uint8_t q = 0; q < 4; ++q) {
            if (u % 5 == 0 && q == 0) {  // an empty quarter is left out of the file
                p.add(reply(86, {user, q, 0, 0, 0, 0, 0, 0, 0, 0}), std::nullopt);
            } else if (q == 3) {         // members above 200 are dropped
                p.add(reply(86, {user, q, 0x81, 0xFF, 0, 0, 0, 0, 0, 0x01}),
                      reply(86, {user, q, 0x81, 0, 0, 0, 0, 0, 0, 0}));
            } else if (u % 7 == 0 && q == 2) {  // only members above 200: left out as well
                p.add(reply(86, {user, 3, 0, 0x10, 0, 0, 0, 0, 0, 0}), std::nullopt);
            } else {
                p.same(reply(86, {user, q, uint8_t(u), uint8_t(~u), 0x55, 0xAA, q, 0, 0x80, 0x01}));
            }
        }
    }
    for (int z = 1; z <= 200; ++z) {
        const uint8_t zone = static_cast<uint8_t>(z);
        // The file keeps the zone number and the four flags, not the state, block type and timer.
        const uint8_t flags = static_cast<uint8_t>(z * 13);
        p.add(reply(85, {zone, flags, 0x11, 0x42, 0x07}), reply(85, {zone, uint8_t(flags & 0x27)}));
        p.same(reply(95, {0, zone, uint8_t(z % 60)}));
        p.same(reply(95, {1, zone, uint8_t(255 - z)}));
    }
    return p;
}

TEST(ConfigFileRoundTrip, BusyPanelComesBackExceptTheDocumentedDifferences) {
    testsupport::TempDir dir;
    const std::string file = (dir / "Zaltor.xml").string();
    const Panel panel = busyPanel();
    ASSERT_TRUE(saveConfigFile(panel.read, file));

    RecordBuffer loaded;
    const ConfigFileLoad load = loadConfigFile(file, loaded);
    ASSERT_TRUE(load.ok);
    EXPECT_TRUE(load.complete) << load.stopReason;
    EXPECT_EQ(load.elementsSkipped, 0u);
    ASSERT_EQ(loaded.records().size(), panel.expected.size());
    for (size_t i = 0; i < panel.expected.size(); ++i)
        ASSERT_EQ(recordText(loaded.records()[i]), recordText(panel.expected[i])) << "record " << i;

    // What the panel is written from is the same either way, up to the dropped members.
    ConfigImage fromPanel, fromFile;
    fromPanel.loadRecords(panel.read);
    fromFile.loadRecords(loaded);
    for (auto &row : fromPanel.sections) {
        row[3][2] &= 0x81;
        std::fill(row[3].begin() + 3, row[3].end(), 0);
    }
    EXPECT_EQ(fromFile, fromPanel);
    EXPECT_EQ(fromFile.blocks.size(), 50u);
    EXPECT_EQ(fromFile.passwords[0][2], 0xFF);

    if (!fixtures::haveXmllint()) GTEST_SKIP() << "xmllint is not installed";
    EXPECT_TRUE(fixtures::wellFormed(file));
}

}  // namespace
}  // namespace zaltor
