// The native replayer: call script files through the native shared library,
// transcripts on standard output (see replay.h). SetFont is left out, as the
// 32-bit host under Wine leaves it out, so the transcripts compare.
#include "fuzz/linked_exports.h"
#include "fuzz/replay.h"

int main(int argc, char** argv) {
  weft::fuzz::TScriptOptions options;
  options.setFont = false;
  return weft::fuzz::ReplayFiles(argc, argv, weft::fuzz::LinkedExports(), options, stdout);
}
