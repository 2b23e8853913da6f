#include "text/string_grid.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "text/rebuild.h"
#include "text/line_reader.h"
#include "text/tab_conversion.h"

namespace weft {

TStringGrid::TStringGrid(const TSharedState& shared)
    : shared_(shared), indentWidth_(shared.settings.tabWidth()) {}

void TStringGrid::SetText(const char* text, int32_t length, bool convertSpaces) {
  std::string_view whole;
  if (text != nullptr) {
    whole = length > 0 ? std::string_view(text, static_cast<size_t>(length)) : std::string_view(text);
  }
  hasTabs_ = whole.find('\t') != std::string_view::npos;
  const bool convert = convertSpaces && !hasTabs_;
  if (convert) indentWidth_ = IndentationOf(whole, settings().tabWidth());
  ReadRows(whole, convert);
  RebuildTokens(*this);
}

namespace {

// Counts in blocks of 255 bytes with an 8-bit sum, which cannot overflow
// and which the compiler vectorizes 16 or 32 bytes at a time.
size_t CountLineFeeds(std::string_view text) {
  size_t count = 0;
  for (size_t at = 0; at < text.size(); at += 255) {
    const size_t end = std::min(text.size(), at + 255);
    uint8_t block = 0;
    for (size_t i = at; i < end; ++i) block = static_cast<uint8_t>(block + (text[i] == '\n' ? 1 : 0));
    count += block;
  }
  return count;
}

}  // namespace

void TStringGrid::ReadRows(std::string_view text, bool convert) {
  const size_t rowCount = CountLineFeeds(text) + 1;
  rows_.clear();
  rows_.reserve(rowCount);
  rowArena_.Reset();
  // Each row but the last lost a line feed and gained a NUL, so every row
  // with its NUL fits in the text's size plus one byte.
  rowArena_.Reserve(text.size() + 1);
  bool inLiteral = false;
  std::string converted;
  ForEachLine(text, [&](std::string_view line) {
    if (convert) {
      converted.clear();
      ConvertSpacesToTabs(line, indentWidth_, inLiteral, converted);
      line = converted;
    }
    rows_.emplace_back(line, rowArena_);
  });
}

int32_t TStringGrid::Text(char* buffer, int32_t size, bool expandTabs) const {
  if (rows_.empty()) return -1;
  if (buffer == nullptr || size < 1) return 0;
  const size_t capacity = static_cast<size_t>(size) - 1;
  size_t written = 0;
  auto emit = [&](const char* characters, size_t count) {
    count = std::min(count, capacity - written);
    std::memcpy(buffer + written, characters, count);
    written += count;
  };
  bool inLiteral = false;
  for (size_t row = 0; row < rows_.size() && written < capacity; ++row) {
    if (row > 0) emit("\r\n", 2);
    if (expandTabs) {
      ExpandTabsToSpaces(rows_[row].view(), indentWidth_, inLiteral, emit);
    } else {
      emit(rows_[row].data(), static_cast<size_t>(rows_[row].size()));
    }
  }
  buffer[written] = '\0';
  return static_cast<int32_t>(written);
}

int32_t TStringGrid::StringAtRow(int32_t row, char* buffer, int32_t size) const {
  if (!HasRow(row) || buffer == nullptr || size < 1) return 0;
  const TRowString& text = Row(row);
  const int32_t copied = std::min(size, text.size());
  std::memcpy(buffer, text.data(), static_cast<size_t>(copied));
  std::memset(buffer + copied, 0, static_cast<size_t>(size - copied));
  return copied;
}

TPoint TStringGrid::LastRowAndColumn() const {
  if (rows_.empty()) return {0, 0};
  return {rows_.back().size(), NumberOfRows() - 1};
}

}  // namespace weft
