#include "api/grid_table.h"

#include <gtest/gtest.h>

namespace weft {
namespace {

TEST(GridTable, HandsOutTheLowestEmptySlotAndFindsOnlyLiveGrids) {
  TSharedState shared;
  TGridTable grids;
  for (int32_t expected = 0; expected < 7; ++expected) EXPECT_EQ(grids.Create(shared), expected);
  grids.Delete(1);
  grids.Delete(1);
  EXPECT_EQ(grids.Find(1), nullptr);
  EXPECT_EQ(grids.Create(shared), 1);
  EXPECT_NE(grids.Find(6), nullptr);
  for (int32_t bad : {-1, grids.slotCount(), 1 << 30, INT32_MIN}) EXPECT_EQ(grids.Find(bad), nullptr) << bad;
  grids.Delete(-7);
  grids.Delete(1 << 30);
}

}  // namespace
}  // namespace weft
