// Reads a Smalltalk source file for rendering, refusing what cannot be one:
// a missing, unreadable or empty file, a file too large to hold in memory
// here, and a binary file (one holding NUL bytes or mostly control
// characters). Errors are complete sentences naming the file.
#ifndef WEFT_TOOLS_WEFTRENDER_SOURCE_FILE_H_
#define WEFT_TOOLS_WEFTRENDER_SOURCE_FILE_H_

#include <string>

namespace weftrender {

// The largest file ReadSource accepts: eight times the largest source seen,
// and few enough rows that their pixel offsets fit 32 bits at any font size.
constexpr long kMaxSourceBytes = 16L << 20;

// Reads the file at `path` into `text`; false with `error` set if it is not
// a source file.
bool ReadSource(const std::string& path, std::string& text, std::string& error);

}  // namespace weftrender

#endif  // WEFT_TOOLS_WEFTRENDER_SOURCE_FILE_H_
