#include "fuzz/find_pattern_harness.h"

#include <algorithm>
#include <cstring>

#include "weftcore.h"

namespace weft::fuzz {

namespace {
constexpr size_t kMaxText = 64 * 1024;
constexpr int32_t kStartBias = 8;
}  // namespace

void RunFindPatternInput(const uint8_t* data, size_t size, const std::function<void(const std::string&)>& fail) {
  if (size < 4) return;
  const uint8_t flags = data[0];
  const int32_t start = (data[1] | data[2] << 8) - kStartBias;
  const size_t patternLength = std::min<size_t>(data[3], size - 4);
  const std::string pattern(reinterpret_cast<const char*>(data + 4), patternLength);
  const size_t textStart = 4 + patternLength;
  const std::string text(reinterpret_cast<const char*>(data + textStart), std::min(size - textStart, kMaxText));

  int32_t matchLength = -1;
  const int32_t found =
      ::FindPattern(text.c_str(), 0, pattern.c_str(), &matchLength, start, flags & 1, flags & 2, flags & 4);
  if (found == 0) return;
  const auto textLength = static_cast<int64_t>(std::strlen(text.c_str()));
  if (found < 1 || matchLength < 0 || found - 1 + int64_t{matchLength} > textLength) {
    fail("FindPattern answered " + std::to_string(found) + " length " + std::to_string(matchLength) + " in a text of " +
         std::to_string(textLength));
  }
}

}  // namespace weft::fuzz
