#include "api/grid_table.h"

#include <gtest/gtest.h>

namespace weft {
namespace {

TEST(GridTable, HandsOutLowestEmptySlotAndGrowsByFive) {
  TSharedState shared;
  TGridTable grids;
  EXPECT_EQ(grids.slotCount(), 1);
  for (int32_t expected = 0; expected < 6; ++expected) EXPECT_EQ(grids.Create(shared), expected);
  EXPECT_EQ(grids.slotCount(), 6);
  EXPECT_EQ(grids.Create(shared), 6);
  EXPECT_EQ(grids.slotCount(), 11);
  grids.Delete(1);
  EXPECT_EQ(grids.Find(1), nullptr);
  EXPECT_EQ(grids.Create(shared), 1);
  grids.Delete(3);
  grids.Delete(3);
  EXPECT_EQ(grids.Find(3), nullptr);
}

TEST(GridTable, FindsOnlyLiveGrids) {
  TSharedState shared;
  TGridTable grids;
  const int32_t handle = grids.Create(shared);
  EXPECT_NE(grids.Find(handle), nullptr);
  for (int32_t bad : {-1, 1, 5, 1 << 30, INT32_MIN}) EXPECT_EQ(grids.Find(bad), nullptr) << bad;
  grids.Delete(-7);
  grids.Delete(1 << 30);
  EXPECT_EQ(grids.slotCount(), 1);
}

}  // namespace
}  // namespace weft
