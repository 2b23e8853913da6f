// TGridTable: turns grid handles into grids. A handle is the index of the
// grid's slot. The table starts with one empty slot and grows five slots at a
// time; CreateGrid takes the lowest empty slot, so a deleted grid's handle is
// handed out again. The table owns its grids.
#ifndef WEFT_API_GRID_TABLE_H_
#define WEFT_API_GRID_TABLE_H_

#include <cstdint>
#include <memory>
#include <vector>

#include "text/string_grid.h"

namespace weft {

class TGridTable {
 public:
  TGridTable() : slots_(1) {}

  // Creates a grid in the lowest empty slot and answers its handle, or -1
  // when no slot can be had.
  int32_t Create(const TSharedState& shared);
  // Destroys the grid in the slot, if any.
  void Delete(int32_t handle);
  // The live grid with this handle, or null for an empty slot, a negative
  // handle or one beyond the table.
  TStringGrid* Find(int32_t handle) const;
  int32_t slotCount() const { return static_cast<int32_t>(slots_.size()); }

 private:
  static constexpr size_t kGrowth = 5;
  std::vector<std::unique_ptr<TStringGrid>> slots_;
};

}  // namespace weft

#endif  // WEFT_API_GRID_TABLE_H_
