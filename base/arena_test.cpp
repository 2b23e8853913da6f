#include "base/arena.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "base/row_string.h"

namespace weft {
namespace {

TEST(ArenaTest, PiecesAreAlignedDisjointAndWritable) {
  TArena arena;
  std::vector<std::pair<char*, size_t>> pieces;
  for (size_t i = 0; i < 3000; ++i) {
    const size_t bytes = 1 + i * 37 % 501;
    const size_t alignment = size_t{1} << (i % 4);
    auto* piece = static_cast<char*>(arena.Allocate(bytes, alignment));
    EXPECT_EQ(reinterpret_cast<uintptr_t>(piece) % alignment, 0u);
    std::memset(piece, static_cast<int>(i % 256), bytes);
    pieces.emplace_back(piece, bytes);
  }
  for (size_t i = 0; i < pieces.size(); ++i) {
    for (size_t b = 0; b < pieces[i].second; ++b) ASSERT_EQ(static_cast<unsigned char>(pieces[i].first[b]), i % 256);
  }
}

TEST(ArenaTest, ResetKeepsWhatTheLastFillUsedAndFreesTheRest) {
  TArena arena;
  const auto fill = [&](size_t bytes) {
    arena.Reset();
    for (size_t done = 0; done < bytes; done += 1000) arena.Allocate(1000, 8);
  };
  fill(size_t{4} << 20);
  const size_t big = arena.HeapBytes();
  EXPECT_GE(big, size_t{4} << 20);
  fill(size_t{4} << 20);
  EXPECT_EQ(arena.HeapBytes(), big) << "the same text again reuses every chunk";
  fill(size_t{100} << 10);
  EXPECT_EQ(arena.HeapBytes(), big) << "the chunks of the text before are kept while the next fills";
  fill(size_t{100} << 10);
  EXPECT_LT(arena.HeapBytes(), size_t{1} << 20) << "chunks the last fill did not reach are freed";
  arena.Reset();
  arena.Reserve(size_t{3} << 20);
  auto* piece = static_cast<char*>(arena.Allocate(size_t{3} << 20, 1));
  std::memset(piece, 1, size_t{3} << 20);
  fill(size_t{2} << 20);
  fill(1000);
  EXPECT_EQ(arena.HeapBytes(), size_t{3} << 20) << "a text that used two thirds of the chunk keeps it";
  arena.Reset();
  EXPECT_EQ(arena.HeapBytes(), 0u) << "a text that used under half of the chunks gives them all back";
}

// A row whose characters an arena lends behaves as one with its own block.
TEST(ArenaTest, LentRowsChangeLikeOwnedOnes) {
  void (*const steps[])(TRowString&) = {
      [](TRowString& s) { s.insert(3, 'x'); }, [](TRowString& s) { s.append("tail"); },
      [](TRowString& s) { s.truncate(4); },    [](TRowString& s) { s.assign(""); },     [](TRowString& s) { s.reserve(100); },
      [](TRowString& s) { s = TRowString("moved"); },
  };
  const std::string text = "a row of some length, longer than sixteen";
  for (const auto step : steps) {
    TArena arena;
    TRowString lent(text, arena);
    TRowString owned(text);
    step(lent);
    step(owned);
    EXPECT_EQ(lent.view(), owned.view());
    EXPECT_EQ(std::strlen(lent.data()), static_cast<size_t>(lent.size()));
    EXPECT_EQ(TRowString(lent).view(), owned.view());
  }
}

}  // namespace
}  // namespace weft
