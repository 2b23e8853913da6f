// Replays call script files and prints their transcripts: for each file a
// line "== <file name>", then one line per call, and a line "FAIL: ..." for
// each broken promise. The native replayer and the 32-bit host under Wine
// both print through this, so their outputs compare line by line.
#ifndef WEFT_FUZZ_REPLAY_H_
#define WEFT_FUZZ_REPLAY_H_

#include <cstdio>

#include "fuzz/call_script.h"

namespace weft::fuzz {

// Replays the files named by argv[1..argc-1] (a directory stands for its
// files, in name order) into `out`. Answers 0, or 1 when a promise broke or a
// file could not be read.
int ReplayFiles(int argc, char** argv, const TExports& exports, const TScriptOptions& options, std::FILE* out);

}  // namespace weft::fuzz

#endif  // WEFT_FUZZ_REPLAY_H_
