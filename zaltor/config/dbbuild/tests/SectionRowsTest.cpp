#include "zaltor/config/dbbuild/SectionRows.h"

#include "zaltor/config/dbbuild/tests/SiteDb.h"

#include <gtest/gtest.h>

namespace zaltor::dbbuild {
namespace {

using namespace tests;

constexpr int kPanel = 10;

TEST(SectionRows, EachZoneSetsItsBitAndOutOfRangeRowsAreSkipped) {
    struct Member {
        int section, zone;
        int quarter, maskByte;  // maskByte: 0..7 within the quarter's eight mask bytes
        uint8_t bit;
    };
    const Member members[] = {
        {0, 1, 0, 0, 0x80},   {0, 2, 0, 0, 0x40},   {0, 8, 0, 0, 0x01},
        {1, 9, 0, 1, 0x80},   {1, 64, 0, 7, 0x01},  {2, 65, 1, 0, 0x80},
        {2, 128, 1, 7, 0x01}, {3, 129, 2, 0, 0x80}, {255, 200, 3, 0, 0x01},
    };
    auto site = sqliteSite();
    ConfigImage expected;
    for (const Member &m : members) {
        site->run({sectionRow(kPanel, m.section, m.zone)});
        expected.sections[m.section][m.quarter][2 + m.maskByte] |= m.bit;
    }
    // Numbers whose low byte is in range, and the rows of another panel.
    site->run({sectionRow(kPanel, 4, 0), sectionRow(kPanel, 4, 201), sectionRow(kPanel, 4, 257),
               sectionRow(kPanel, 256, 1), sectionRow(kPanel, 257, 1), sectionRow(kPanel, -1, 1),
               sectionRow(kPanel + 1, 5, 1)});

    ConfigImage image;
    loadSections(site->db(), kPanel, image);
    for (int r = 0; r < ConfigImage::kSections; ++r)
        for (int q = 0; q < ConfigImage::kQuarters; ++q)
            EXPECT_EQ(image.sections[r][q], expected.sections[r][q])
                << "section " << r << " quarter " << q;
    EXPECT_EQ(image, expected) << "nothing but sections";
}

}  // namespace
}  // namespace zaltor::dbbuild
