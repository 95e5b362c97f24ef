#include "lintra/nx/HandleTable.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>

namespace lintra::nx {
namespace {

TEST(HandleTableTest, GivesTheLowestFreeSlotUntilFull) {
    THandleTable<int> table;
    std::array<int, 256> objects{};
    for (int32_t i = 0; i < 255; ++i) EXPECT_EQ(table.Take(&objects[static_cast<size_t>(i)]), i + 1);
    EXPECT_EQ(table.Take(&objects[255]), 0);
    EXPECT_EQ(table.Count(), 255);

    table.Release(7, &objects[6]);
    table.Release(3, &objects[2]);
    EXPECT_EQ(table.Count(), 253);
    EXPECT_EQ(table.Take(&objects[255]), 3);
    EXPECT_EQ(table.Find(3), &objects[255]);
}

TEST(HandleTableTest, HandlesOutOfRangeNameNothing) {
    THandleTable<int> table;
    int object = 0;
    ASSERT_EQ(table.Take(&object), 1);
    for (int32_t handle : {0, -1, 256, INT32_MIN, INT32_MAX, 2}) {
        EXPECT_EQ(table.Find(handle), nullptr) << handle;
        table.Release(handle, &object);
    }
    EXPECT_EQ(table.Count(), 1);
}

TEST(HandleTableTest, ReleaseLeavesASlotHeldByAnotherObject) {
    THandleTable<int> table;
    int first = 0, second = 0;
    ASSERT_EQ(table.Take(&first), 1);
    EXPECT_EQ(table.TakeAll().size(), 1u);
    ASSERT_EQ(table.Take(&second), 1);
    table.Release(1, &first);  // the late release of an object the table no longer holds
    EXPECT_EQ(table.Find(1), &second);
    EXPECT_EQ(table.Count(), 1);
}

}  // namespace
}  // namespace lintra::nx
