// What must hold of every live grid after every call, checked through the
// library's internals by a script observer (native builds only):
//  - one token list and one attribute list per row;
//  - the token walk (RewindTokens, NextToken) tiles the text in order, with no
//    gap and no overlap, each token's text being the text it spans, and ends;
//  - for a grid whose lists were made under the present settings, the lists
//    equal those of a fresh grid given the same rows (the incremental refresh
//    is exact);
//  - Text gives back what the rows hold.
// The walk leaves the grid's token cursor where it was.
#ifndef WEFT_FUZZ_GRID_INVARIANTS_H_
#define WEFT_FUZZ_GRID_INVARIANTS_H_

#include <functional>
#include <string>
#include <vector>

#include "fuzz/call_script.h"

namespace weft::fuzz {

class TInvariantObserver : public TScriptObserver {
 public:
  // `fail` hears each broken promise; the fuzz targets stop there.
  explicit TInvariantObserver(std::function<void(const std::string&)> fail) : fail_(std::move(fail)) {}

  void Transcribe(const std::string&) override {}
  void AfterCall(const std::vector<int32_t>& liveGrids, const std::vector<int32_t>& settledGrids) override;
  void Fail(const std::string& what) override { fail_(what); }

 private:
  std::function<void(const std::string&)> fail_;
};

}  // namespace weft::fuzz

#endif  // WEFT_FUZZ_GRID_INVARIANTS_H_
