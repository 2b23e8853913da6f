// The arena's pieces and chunk reuse, rows (lent or own) against std::string, the gap vector against std::vector.
#include "base/arena.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "base/gap_vector.h"
#include "base/row_string.h"
#include "tests/support/test_support.h"

namespace weft {
namespace {

TEST(ArenaTest, PiecesAreAlignedDisjointAndWritable) {
  TArena arena;
  std::vector<std::string_view> pieces;
  for (size_t i = 0; i < 3000; ++i) {
    auto* piece = static_cast<char*>(arena.Allocate(1 + i * 37 % 501, size_t{1} << (i % 4)));
    EXPECT_EQ(reinterpret_cast<uintptr_t>(piece) % (size_t{1} << (i % 4)), 0u);
    pieces.emplace_back(piece, 1 + i * 37 % 501);
    std::fill_n(piece, pieces.back().size(), static_cast<char>(i));
  }
  for (size_t i = 0; i < pieces.size(); ++i) ASSERT_EQ(pieces[i], std::string(pieces[i].size(), static_cast<char>(i)));
}

TEST(ArenaTest, ResetKeepsWhatTheLastFillUsedAndFreesTheRest) {
  TArena arena;
  const auto fill = [&](size_t bytes) {
    arena.Reset();
    for (size_t done = 0; done < bytes; done += 1000) arena.Allocate(1000, 8);
    return arena.HeapBytes();
  };
  const size_t big = fill(size_t{4} << 20);
  EXPECT_GE(big, size_t{4} << 20);
  EXPECT_EQ(fill(size_t{4} << 20), big) << "the same text again reuses every chunk";
  EXPECT_EQ(fill(size_t{100} << 10), big) << "the chunks of the text before are kept while the next fills";
  EXPECT_LT(fill(size_t{100} << 10), size_t{1} << 20) << "chunks the last fill did not reach are freed";
  arena.Reset();
  arena.Reserve(size_t{3} << 20);
  std::fill_n(static_cast<char*>(arena.Allocate(size_t{3} << 20, 1)), size_t{3} << 20, 'x');
  fill(size_t{2} << 20);
  EXPECT_EQ(fill(1000), size_t{3} << 20) << "a text that used two thirds of the chunk keeps it";
  EXPECT_EQ(fill(0), 0u) << "a text that used under half of the chunks gives them all back";
}

TEST(RowStringTest, LentAndOwnedRowsChangeLikeAString) {
  std::mt19937 random(7);
  for (int round = 0; round < 300; ++round) {
    TArena arena;
    std::string model = testing::RandomText(random, "ab", 30);
    TRowString rows[] = {TRowString(model, arena), TRowString(model)};
    for (int step = 0; step < 12; ++step) {
      const auto at = static_cast<int32_t>(random() % (model.size() + 1));
      const std::string text = testing::RandomText(random, "xyz", 20);
      switch (random() % 6) {
        case 0: for (TRowString& row : rows) row.insert(at, 'i'); model.insert(model.begin() + at, 'i'); break;
        case 1: for (TRowString& row : rows) row.append(text); model += text; break;
        case 2: for (TRowString& row : rows) row.truncate(at); model.resize(static_cast<size_t>(at)); break;
        case 3: for (TRowString& row : rows) row.assign(text); model = text; break;
        case 4: for (TRowString& row : rows) row.reserve(at * 3); break;
        default: for (TRowString& row : rows) row = TRowString(row);
      }
      for (const TRowString& row : rows) ASSERT_EQ(std::string(row.data()), model);
    }
  }
}

// Changes clustered as an editor's, sometimes far apart; elements own heap blocks, so a slot moved onto itself or
// an erased slot still holding its block shows as a wrong element or a leak.
TEST(GapVectorTest, AgreesWithAVector) {
  std::mt19937 random(7);
  for (int trial = 0; trial < 200; ++trial) {
    TGapVector<TRowString> gapped;
    std::vector<std::string> model;
    size_t place = 0;
    for (int step = 0; step < 200; ++step) {
      const std::string text = std::to_string(trial * 1000 + step) + std::string(random() % 40, 'x');
      if (random() % 8 == 0) place = random() % (model.size() + 1);
      place = std::min(place, model.size());
      const auto at = model.begin() + static_cast<long>(place);
      switch (random() % 8) {
        case 0: gapped.push_back(TRowString(text)); model.push_back(text); break;
        case 1: case 2: case 3: gapped.insert(place++, TRowString(text)); model.insert(at, text); break;
        case 4: {
          const size_t count = random() % 3;
          gapped.insert(place, count);
          model.insert(at, count, "");
          break;
        }
        case 5: case 6: {
          const size_t count = std::min<size_t>(random() % 3, model.size() - place);
          gapped.erase(place, count);
          model.erase(at, at + static_cast<long>(count));
          break;
        }
        default:
          if (random() % 4 == 0) {
            const size_t count = random() % (model.size() + 5);
            gapped.resize(count);
            model.resize(count);
          } else if (place < model.size()) {
            gapped[place] = TRowString(text);
            model[place] = text;
          }
      }
      const TSplitSpan<const TRowString> view = gapped.view();
      ASSERT_TRUE(gapped.size() == model.size() && view.size() == model.size()) << gapped.size() << " " << view.size();
      for (size_t i = 0; i < model.size(); ++i) {
        ASSERT_EQ(gapped[i].view(), model[i]) << "trial " << trial << " step " << step << " element " << i;
        ASSERT_EQ(&view[i], &gapped[i]);
      }
    }
  }
}

}  // namespace
}  // namespace weft
