#include "zaltor/config/dbbuild/UserRows.h"

#include "zaltor/config/dbbuild/BuildQueries.h"
#include "zaltor/config/dbbuild/tests/SiteDb.h"

#include <gtest/gtest.h>
#include <QSqlQuery>

namespace zaltor::dbbuild {
namespace {

using namespace tests;

constexpr int kPanel = 10;

KeyRow cardRow(uint8_t user, std::array<uint8_t, 4> code) {
    return {1, user, code[0], code[1], code[2], code[3], 0, 0, 0, 0, 0, 0};
}

KeyRow passwordRow(uint8_t user, uint8_t high, uint8_t low) {
    return {0, user, high, low, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
}

ConfigImage usersOf(const std::vector<std::string> &rows) {
    auto site = sqliteSite();
    site->run(rows);
    ConfigImage image;
    loadUsers(site->db(), kPanel, image);
    return image;
}

struct KeyCase {
    const char *numKd;  // as SQL
    const char *passw;  // as SQL
    std::array<uint8_t, 4> code;
    uint8_t high, low;  // the password's BCD pairs; 0xFF 0xFF = unset
};

TEST(UserRows, CardCodeAndPasswordOfAUser) {
    const KeyCase cases[] = {
        {"'12AB'", "1234", {0x00, 0x00, 0x12, 0xAB}, 0x12, 0x34},
        // A pair that is not hexadecimal ends the code; the password is still set.
        {"'12AX5678'", "1234", {0x12, 0x00, 0x00, 0x00}, 0x12, 0x34},
        {"'12ab34cd'", "NULL", {0x12, 0xAB, 0x34, 0xCD}, 0x00, 0x00},
        {"'1234567890'", "5", {0x12, 0x34, 0x56, 0x78}, 0x00, 0x05},
        {"'  12AB  '", "9999", {0x00, 0x00, 0x12, 0xAB}, 0x99, 0x99},
        {"NULL", "0", {0x00, 0x00, 0x00, 0x00}, 0x00, 0x00},
        {"''", "100", {0x00, 0x00, 0x00, 0x00}, 0x01, 0x00},
        {"'FFFFFFFF'", "'12'", {0xFF, 0xFF, 0xFF, 0xFF}, 0x00, 0x12},
        {"'+1234567'", "10000", {0x00, 0x00, 0x00, 0x00}, 0xFF, 0xFF},
        {"'-1'", "-1", {0x00, 0x00, 0x00, 0x00}, 0xFF, 0xFF},
        {"'12 34567'", "'abc'", {0x12, 0x00, 0x00, 0x00}, 0xFF, 0xFF},
        {"'ЁЁ345678'", "99999", {0x00, 0x00, 0x00, 0x00}, 0xFF, 0xFF},
    };
    for (const KeyCase &c : cases) {
        SCOPED_TRACE(std::string(c.numKd) + " " + c.passw);
        const ConfigImage image =
            usersOf({clientRow(1, c.numKd), userRow(kPanel, 1, "7", c.passw)});
        EXPECT_EQ(image.cards[7], cardRow(7, c.code));
        EXPECT_EQ(image.passwords[7], passwordRow(7, c.high, c.low));
    }
}

TEST(UserRows, OnlyThePanelsUsersNumbered0To255) {
    // The rows that must be skipped come after the kept ones, so one that wrapped to 0 or 255
    // would overwrite them.
    const ConfigImage image = usersOf({
        clientRow(1, "'01'"), clientRow(2, "'02'"), clientRow(3, "'03'"),
        userRow(kPanel, 1, "0", "1"), userRow(kPanel, 2, "255", "2"),
        userRow(kPanel, 3, "256", "3"), userRow(kPanel, 3, "511", "3"),
        userRow(kPanel, 3, "-1", "3"), userRow(kPanel, 3, "NULL", "3"),
        userRow(kPanel, 3, "'x'", "3"), userRow(kPanel + 1, 3, "5", "3"),
        userRow(kPanel, 4, "6", "4"),  // no client 4
    });
    ConfigImage expected;
    expected.cards[0] = cardRow(0, {0, 0, 0, 0x01});
    expected.passwords[0] = passwordRow(0, 0x00, 0x01);
    expected.cards[255] = cardRow(255, {0, 0, 0, 0x02});
    expected.passwords[255] = passwordRow(255, 0x00, 0x02);
    for (int u = 0; u < ConfigImage::kUsers; ++u) {
        EXPECT_EQ(image.cards[u], expected.cards[u]) << "card " << u;
        EXPECT_EQ(image.passwords[u], expected.passwords[u]) << "password " << u;
    }
    EXPECT_EQ(image, expected) << "nothing but users";
}

TEST(UserRows, TheLaterOfTwoRowsForOneUserWins) {
    auto site = sqliteSite();
    site->run({clientRow(1, "'11111111'"), clientRow(2, "'2222'"), userRow(kPanel, 1, "9", "1111"),
               userRow(kPanel, 2, "9", "NULL")});
    // "Later" is the order the users query gives.
    QSqlQuery order(site->db());
    order.prepare(kUsersQuery);
    order.bindValue(QStringLiteral(":N"), kPanel);
    ASSERT_TRUE(order.exec());
    int lastClient = 0;
    while (order.next()) lastClient = order.value(QStringLiteral("CLI_N")).toInt();

    ConfigImage image;
    loadUsers(site->db(), kPanel, image);
    if (lastClient == 2) {
        EXPECT_EQ(image.cards[9], cardRow(9, {0x00, 0x00, 0x22, 0x22}));
        EXPECT_EQ(image.passwords[9], passwordRow(9, 0x00, 0x00));
    } else {
        ASSERT_EQ(lastClient, 1);
        EXPECT_EQ(image.cards[9], cardRow(9, {0x11, 0x11, 0x11, 0x11}));
        EXPECT_EQ(image.passwords[9], passwordRow(9, 0x11, 0x11));
    }
}

}  // namespace
}  // namespace zaltor::dbbuild
