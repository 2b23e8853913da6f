#include "api/grid_table.h"

#include <algorithm>
#include <limits>

namespace weft {

int32_t TGridTable::Create(const TSharedState& shared) {
  auto empty = std::find(slots_.begin(), slots_.end(), nullptr);
  size_t slot = static_cast<size_t>(empty - slots_.begin());
  if (slot >= static_cast<size_t>(std::numeric_limits<int32_t>::max())) return -1;
  if (empty == slots_.end()) slots_.resize(slots_.size() + kGrowth);
  slots_[slot] = std::make_unique<TStringGrid>(shared);
  return static_cast<int32_t>(slot);
}

void TGridTable::Delete(int32_t handle) {
  if (Find(handle) != nullptr) slots_[static_cast<size_t>(handle)].reset();
}

TStringGrid* TGridTable::Find(int32_t handle) const {
  if (handle < 0 || handle >= slotCount()) return nullptr;
  return slots_[static_cast<size_t>(handle)].get();
}

}  // namespace weft
