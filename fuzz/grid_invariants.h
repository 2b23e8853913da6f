// What must hold of every live grid after every call, checked through the
// library's internals by a script observer (native builds only):
//  - one token list and one attribute list per row;
//  - the token walk (RewindTokens, NextToken) tiles the text in order, with no
//    gap and no overlap, each token's text being the text it spans, and ends;
//  - for a grid whose lists were made under the present settings, the lists
//    equal those of a fresh grid given the same rows (the incremental refresh
//    is exact);
//  - Text gives back what the rows hold.
// The walk leaves the grid's token cursor where it was. The checks that walk
// the whole text run again only once a grid's rows or settledness changed.
#ifndef WEFT_FUZZ_GRID_INVARIANTS_H_
#define WEFT_FUZZ_GRID_INVARIANTS_H_

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "fuzz/call_script.h"

namespace weft::fuzz {

// Unloads and reloads the library linked into this program and resets the
// stand-in of Win32, so an input starts from a library as loaded and the
// stand-in's records do not grow from one input to the next; points
// `options` at a new paint context and window.
void ReloadLinkedLibrary(TScriptOptions& options);

class TInvariantObserver : public TScriptObserver {
 public:
  // `fail` hears each broken promise; the fuzz targets stop there.
  explicit TInvariantObserver(std::function<void(const std::string&)> fail) : fail_(std::move(fail)) {}

  void Transcribe(const std::string& line) override { lastCall_ = line; }
  void AfterCall(const std::vector<int32_t>& liveGrids, const std::vector<int32_t>& settledGrids) override;
  // Names the last call transcribed: the call that broke the promise for the
  // checks after a call, the one before it for the checks a call makes of
  // its own answers (their message names that call).
  void Fail(const std::string& what) override { fail_(what + ", last transcribed " + lastCall_.substr(0, 200)); }

 private:
  std::function<void(const std::string&)> fail_;
  std::string lastCall_;
  // Per grid handle: the fingerprint of its state at its last full check.
  std::map<int32_t, std::string> checked_;
};

}  // namespace weft::fuzz

#endif  // WEFT_FUZZ_GRID_INVARIANTS_H_
