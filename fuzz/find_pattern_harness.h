// The FindPattern fuzz input: a flags byte (bit 0 regular expression, bit 1
// match case, bit 2 forward), a 16-bit start biased by -8, a pattern of up to
// 255 bytes after its length byte, and the text: every byte left, up to 64
// KB. The harness checks that a match lies within the text; the time limit
// per input holds the search to its linear-time promise.
#ifndef WEFT_FUZZ_FIND_PATTERN_HARNESS_H_
#define WEFT_FUZZ_FIND_PATTERN_HARNESS_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace weft::fuzz {

void RunFindPatternInput(const uint8_t* data, size_t size, const std::function<void(const std::string&)>& fail);

}  // namespace weft::fuzz

#endif  // WEFT_FUZZ_FIND_PATTERN_HARNESS_H_
