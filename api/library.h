// The library-wide state, from attach to detach: the shared settings and
// keyword table, and the grid table. Every export reaches it through
// TheLibrary(). The host calls one export at a time from one thread; nothing
// here locks.
#ifndef WEFT_API_LIBRARY_H_
#define WEFT_API_LIBRARY_H_

#include <cstdint>

#include "api/grid_table.h"
#include "text/shared_state.h"

namespace weft {

struct TLibrary {
  TSharedState shared;
  TGridTable grids;  // destroyed first: grids read the shared state
};

// Attach runs once per load and detach once after it, whatever the host's calls.
void AttachLibrary();
void DetachLibrary();
// The live library; made on first use should an export come before attach.
TLibrary& TheLibrary();

// Looks a grid up and applies `operation` to it, or answers `none` when the
// handle names no live grid.
template <typename Result, typename Operation>
Result WithGrid(int32_t handle, Result none, Operation&& operation) {
  TStringGrid* grid = TheLibrary().grids.Find(handle);
  return grid != nullptr ? operation(*grid) : none;
}

template <typename Operation>
void WithGrid(int32_t handle, Operation&& operation) {
  if (TStringGrid* grid = TheLibrary().grids.Find(handle)) operation(*grid);
}

}  // namespace weft

#endif  // WEFT_API_LIBRARY_H_
