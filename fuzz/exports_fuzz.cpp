// libFuzzer target: the input is a call script (call_script.h) run against
// the exports linked in, over the stand-in of Win32, with every invariant of
// grid_invariants.h checked after every call. Each input starts from a
// library as loaded. A broken promise stops the process, so libFuzzer keeps
// the input.
#include <cstdio>
#include <cstdlib>

#include "fuzz/call_script.h"
#include "fuzz/grid_invariants.h"
#include "fuzz/linked_exports.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const weft::fuzz::TExports exports = weft::fuzz::LinkedExports();
  weft::fuzz::TScriptOptions options;
  weft::fuzz::ReloadLinkedLibrary(options);
  weft::fuzz::TInvariantObserver observer([](const std::string& what) {
    std::fprintf(stderr, "broken promise: %s\n", what.c_str());
    std::abort();
  });
  weft::fuzz::RunCallScript(data, size, exports, options, observer);
  return 0;
}
