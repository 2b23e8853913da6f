// Compiles a FindPattern regular expression into a flat list of items.
//
// The syntax has no groups or alternation, so a compiled pattern is a
// sequence: items that consume one character from a set (once, optionally, or
// as a greedy run) and zero-width items (the line-end anchor and the marks).
// A leading `^` becomes the `anchored` flag: where it holds is the search's
// business, not the matcher's.
//
// Syntax decisions beyond the basic rules:
// - A literal byte of 128 or above matches exactly that byte; case folding
//   touches only A to Z. Inside a class every member, written or escaped, is
//   reduced to its low 7 bits, like the text characters a class is compared
//   with; so a class is a set of 7-bit codes.
// - Escaped codes are taken modulo 256 (`\xfff` is 255, `\777` is 255).
// - `$` is an anchor when it ends the pattern or when the next element is a
//   literal LF, written raw or as an escape (`\n`, `\x0a`, `\12`, `\^j`).
// - A mark is zero-width, like an anchor: a closure may not follow it.
// - Only the first two marks count; later ones are accepted and ignored.
#ifndef WEFT_SEARCH_PATTERN_H_
#define WEFT_SEARCH_PATTERN_H_

#include <cstdint>
#include <string_view>
#include <vector>

#include "search/char_set.h"

namespace weft {

// The character `$` stands before, and `.` never matches.
constexpr unsigned char kLineFeed = '\n';

enum class TItemKind : uint8_t {
  kOne,       // one character from the set
  kOptional,  // one character from the set if the next one is in it, else none
  kStar,      // the longest run from the set, given back one at a time
  kLineEnd,   // zero width: before an LF or at the end of the text
  kMark,      // zero width: records the position
};

struct TPatternItem {
  TItemKind kind = TItemKind::kOne;
  TCharSet set;          // for the consuming kinds
  int16_t literal = -1; // the byte a plain literal stands for; -1 for '.' and classes
  int32_t loop = -1;    // ordinal among the kStar items
  int32_t mark = -1;    // ordinal among the marks
};

struct TPattern {
  bool valid = false;
  bool anchored = false;
  bool matchCase = true;
  std::vector<TPatternItem> items;
  int32_t loopCount = 0;
  int32_t markCount = 0;

  int32_t size() const { return static_cast<int32_t>(items.size()); }
  // True when no item consumes a character, e.g. `^`, `$` or `^$`.
  bool ZeroWidthOnly() const;
};

// An invalid pattern comes back with valid == false and no items. `+` is
// compiled as the item followed by its kStar copy, which tries the same
// lengths in the same order.
TPattern CompilePattern(std::string_view source, bool matchCase);

}  // namespace weft

#endif  // WEFT_SEARCH_PATTERN_H_
