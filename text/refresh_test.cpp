#include "text/refresh.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>
#include <unordered_set>

#include "text/rebuild.h"
#include "lex/token.h"
#include "text/token_cursor.h"
#include "style/attributes.h"
#include "platform/fake_win32_control.h"
#include "tests/support/grid_test_support.h"
#include "text/editing.h"

namespace weft {
namespace {

class RefreshTest : public testing::GridTest {
 protected:
  RefreshTest() {
    shared.keywords.Add("self");
    shared.keywords.Add("^");
  }

  // The same rows, fully rebuilt.
  std::unique_ptr<TStringGrid> Rebuilt(const TStringGrid& edited) {
    auto fresh = std::make_unique<TStringGrid>(shared);
    fresh->editableRows() = edited.rows();
    RebuildTokens(*fresh);
    return fresh;
  }
};

// Tokens agree with a full rebuild in every field and their texts; every
// list holds exactly its row's tokens; and every character is painted as the
// rebuilt grid paints it.
void ExpectSameAsRebuilt(const TStringGrid& edited, const TStringGrid& fresh, const std::string& context) {
  ASSERT_EQ(edited.tokenLists().size(), edited.rows().size()) << context;
  ASSERT_EQ(edited.attributeLists().size(), edited.rows().size()) << context;
  for (size_t row = 0; row < edited.rows().size(); ++row) {
    const TTokenList& mine = edited.tokenLists()[row];
    const TTokenList& theirs = fresh.tokenLists()[row];
    ASSERT_EQ(mine.count(), theirs.count()) << context << " row " << row;
    for (int32_t i = 0; i < mine.count(); ++i) {
      ASSERT_TRUE(TokensEqual(mine.at(i), mine.TextView(i), theirs.at(i), theirs.TextView(i)))
          << context << " row " << row << " token " << i;
    }
    for (int32_t column = 0; column < edited.RowLength(static_cast<int32_t>(row)); ++column) {
      TAttributeCursor cursor;
      const TPoint p{column, static_cast<int32_t>(row)};
      const TTextAttributeDelta* a = AttributeAt(edited.attributeLists(), p, cursor);
      const TTextAttributeDelta* b = AttributeAt(fresh.attributeLists(), p, cursor);
      ASSERT_EQ(a == nullptr, b == nullptr) << context << " at " << column << "," << row;
      if (a != nullptr) {
        ASSERT_TRUE(*a == *b) << context << " painted differently at " << column << "," << row;
      }
    }
  }
}

// What a grid's lists were before an edit, to tell afterwards how many rows
// the edit's re-scan replaced and how many it had to.
struct ListsBefore {
  explicit ListsBefore(const TStringGrid& grid) : tokens(grid.tokenLists()), changes(grid.attributeLists()) {
    for (const TTokenList& list : grid.tokenLists()) {
      if (!list.empty()) texts.insert(list.Text(0));
    }
  }

  // Rows with tokens whose list was replaced: a kept list, moved or not,
  // still holds its texts where they were.
  size_t Rescanned(const TStringGrid& grid) const {
    size_t rows = 0;
    for (const TTokenList& list : grid.tokenLists()) rows += !list.empty() && !texts.contains(list.Text(0));
    return rows;
  }

  // Rows between the longest runs, from the top and from the bottom, of rows
  // whose lists are what they were.
  size_t Changed(const TStringGrid& grid) const {
    const size_t count = grid.tokenLists().size();
    const size_t shorter = std::min(count, tokens.size());
    size_t top = 0;
    while (top < shorter && Same(grid, top, top)) ++top;
    size_t bottom = 0;
    while (top + bottom < shorter && Same(grid, count - 1 - bottom, tokens.size() - 1 - bottom)) ++bottom;
    return count - top - bottom;
  }

  bool Same(const TStringGrid& grid, size_t row, size_t oldRow) const {
    const TTokenList& a = grid.tokenLists()[row];
    const TTokenList& b = tokens[oldRow];
    if (a.count() != b.count()) return false;
    for (int32_t i = 0; i < a.count(); ++i) {
      if (!TokensEqual(a.at(i), a.TextView(i), b.at(i), b.TextView(i))) return false;
    }
    const TAttributeList& c = grid.attributeLists()[row];
    const TAttributeList& d = changes[oldRow];
    return std::equal(c.begin(), c.end(), d.begin(), d.end(), [](const auto& x, const auto& y) {
      return x == y && x.column == y.column;
    });
  }

  std::vector<TTokenList> tokens;
  std::vector<TAttributeList> changes;
  std::unordered_set<const char*> texts;
};

std::string RandomInsertion(std::mt19937& random) {
  static const char* const kFragments[] = {"x", " ", "\n", "\r\n", "'", "\"", "$", "#", ":", "=", "1", "e", "r",
                                           "-", "self", "^", "\t", "ab:", "16r", "''", "a\nb", "\"c\nd\"", "\r"};
  std::string text;
  for (size_t n = 1 + random() % 3; n > 0; --n) text += kFragments[random() % std::size(kFragments)];
  return text;
}

TPoint RandomPoint(std::mt19937& random, const TStringGrid& grid) {
  const int32_t row = static_cast<int32_t>(random() % static_cast<unsigned>(grid.NumberOfRows()));
  return {static_cast<int32_t>(random() % static_cast<unsigned>(grid.RowLength(row) + 2)), row};
}

// One random edit: a character, a string with or without line breaks, or a
// deletion within a row or across rows; now and then at the text's edges.
std::string RandomEdit(std::mt19937& random, TStringGrid& grid, HWND window = nullptr) {
  TPoint at = RandomPoint(random, grid);
  if (random() % 8 == 0) at = random() % 2 ? TPoint{0, 0} : grid.LastRowAndColumn();
  switch (random() % 4) {
    case 0: {
      const char c = "ab '\"$#:1\n\r\t"[random() % 12];
      at.column = std::min(at.column, grid.RowLength(at.row));
      InsertCell(grid, c, at, window);
      return "InsertCell " + std::to_string(c) + " at " + std::to_string(at.column) + "," + std::to_string(at.row);
    }
    case 1: {
      const std::string text = RandomInsertion(random);
      InsertString(grid, text.c_str(), at, window);
      return "InsertString '" + text + "' at " + std::to_string(at.column) + "," + std::to_string(at.row);
    }
    default: {
      TPoint last = random() % 2 ? TPoint{at.column + static_cast<int32_t>(random() % 4), at.row} : RandomPoint(random, grid);
      TPoint first = at;
      if (last < first) std::swap(first, last);
      first.column = std::min(first.column, grid.RowLength(first.row));
      DeleteSection(grid, first, last, window);
      return "DeleteSection " + std::to_string(first.column) + "," + std::to_string(first.row) + " to " +
             std::to_string(last.column) + "," + std::to_string(last.row);
    }
  }
}

// A hundred edits on each corpus file, checked after every twenty-fifth;
// then short texts checked after every edit, with distinct backgrounds and
// with one background for every style as editors usually have, where white
// space never makes a change of its own.
TEST_F(RefreshTest, RandomEditsMatchAFullRebuild) {
  std::mt19937 random(1234);
  const char* const kSeeds[] = {"", "x := 1", "a\n  b", "\"comment\nover rows\" self foo: 'str\ning' ^ 16r1F",
                                "##", "a\nbc"};
  struct Run {
    std::string name, text;
    int steps, every;
  };
  std::vector<Run> runs;
  for (const auto& path : testing::CorpusFiles()) runs.push_back({path.filename().string(), testing::ReadFile(path), 100, 25});
  std::string longRows = "#[";
  while (longRows.size() < 100000) longRows += "12 ";
  longRows += "]\n";
  while (longRows.size() < 200000) longRows += "foo bar: baz ";
  runs.push_back({"rows of 100 KB", longRows, 20, 10});
  const size_t oneBackgroundFrom = runs.size() + 150;
  for (int sequence = 0; sequence < 300; ++sequence) {
    runs.push_back({"sequence " + std::to_string(sequence), kSeeds[sequence % std::size(kSeeds)], 40, 1});
  }
  for (size_t i = 0; i < runs.size(); ++i) {
    if (i == oneBackgroundFrom) {
      TConfiguration configuration = shared.settings.configuration();
      for (TStyle& style : configuration.styles) style.backColor = RGB(255, 255, 255);
      shared.settings.SetConfiguration(configuration);
    }
    auto grid = Grid(runs[i].text);
    std::string history;
    for (int step = 1; step <= runs[i].steps; ++step) {
      const bool checked = step % runs[i].every == 0;
      const std::optional<ListsBefore> before = checked ? std::optional<ListsBefore>(*grid) : std::nullopt;
      history += RandomEdit(random, *grid) + "; ";
      if (!checked) continue;
      const std::string context = runs[i].name + ": " + history;
      ExpectSameAsRebuilt(*grid, *Rebuilt(*grid), context);
      // Whether or not it added or removed rows, an edit re-scans the rows it
      // changed and at most two on either side: the row of the token it
      // restarts from and the row that token runs into; the row of the token
      // it stops on and the row that token ends on.
      ASSERT_LE(before->Rescanned(*grid), before->Changed(*grid) + 4) << context;
      if (HasFatalFailure()) return;
    }
  }
}

// Random token walks and lookups between the edits of one grid, none in its
// twin given the same edits: the walked grid's lists stay equal to a full
// rebuild and, field by field, to the twin's, and each of its edits
// invalidates the same band, so reading tokens never makes an edit re-scan
// more.
TEST_F(RefreshTest, TokenWalksBetweenEditsChangeNothingAnEditSees) {
  std::mt19937 edits(77);
  std::mt19937 walks(78);
  HWND window = fake::WindowHandle(0x99);
  const char* const kSeeds[] = {"x := 1.\n  ^self foo: 'a\nb' \"c\"\n\n#(1 $a)", "a\n\n\"open\nb",
                                "foo\n  bar\n    baz: 1\n"};
  for (int sequence = 0; sequence < 60; ++sequence) {
    const char* seed = kSeeds[sequence % std::size(kSeeds)];
    auto walked = Grid(seed);
    auto twin = Grid(seed);
    std::string history;
    for (int step = 0; step < 30; ++step) {
      for (int read = static_cast<int>(walks() % 4); read > 0; --read) {
        switch (walks() % 3) {
          case 0:
            RewindTokens(*walked);
            while (NextToken(*walked)) {
            }
            break;
          case 1:
            while (PreviousToken(*walked) && walks() % 8 != 0) {
            }
            break;
          default:
            TokenAt(*walked, RandomPoint(walks, *walked));
        }
      }
      std::mt19937 same = edits;
      fake::ClearLogs();
      history += RandomEdit(edits, *walked, window) + "; ";
      const std::vector<fake::InvalidateRecord> walkedBand = fake::Invalidations();
      fake::ClearLogs();
      RandomEdit(same, *twin, window);
      const std::string context = "sequence " + std::to_string(sequence) + ": " + history;
      ASSERT_EQ(walkedBand.size(), fake::Invalidations().size()) << context;
      for (size_t i = 0; i < walkedBand.size(); ++i) {
        ASSERT_EQ(walkedBand[i].rect.top, fake::Invalidations()[i].rect.top) << context;
        ASSERT_EQ(walkedBand[i].rect.bottom, fake::Invalidations()[i].rect.bottom) << context;
      }
      ExpectSameAsRebuilt(*walked, *Rebuilt(*walked), context);
      for (size_t row = 0; row < walked->tokenLists().size(); ++row) {
        const TTokenList& a = walked->tokenLists()[row];
        const TTokenList& b = twin->tokenLists()[row];
        ASSERT_EQ(a.count(), b.count()) << context;
        for (int32_t i = 0; i < a.count(); ++i) {
          ASSERT_TRUE(TokensEqual(a.at(i), a.TextView(i), b.at(i), b.TextView(i))) << context << " row " << row;
        }
      }
      if (HasFatalFailure()) return;
    }
  }
}

// The white space ending row 1 is the same token before and after the edit,
// but the token before it turns from a character literal into the end of a
// string. With equal backgrounds the white space makes no change of its own,
// so stopping there would leave `$a` without the change it now needs.
TEST_F(RefreshTest, StopsOnlyWhereTheAttributesInEffectAreUnchanged) {
  TConfiguration configuration = shared.settings.configuration();
  for (TStyle& style : configuration.styles) style.backColor = RGB(255, 255, 255);
  shared.settings.SetConfiguration(configuration);
  auto grid = Grid("x\n$'\n$a b");
  InsertCell(*grid, '\'', {1, 0}, nullptr);
  ExpectSameAsRebuilt(*grid, *Rebuilt(*grid), "string closed by a former character literal");
}

// A token of a later row, marked before the edit, shows whether that row's
// list was left alone.
void MarkEveryRow(TStringGrid& grid) {
  for (TTokenList& list : grid.tokenLists()) {
    if (!list.empty()) list.at(0).kind = 999;
  }
}
bool Untouched(const TStringGrid& grid, int32_t row) { return grid.tokenLists()[static_cast<size_t>(row)].at(0).kind == 999; }

// Typing, Enter and joining two rows each re-scan the rows from the one
// before the edit to the one after it; the later rows' lists move with them.
TEST_F(RefreshTest, EditsRescanOnlyAFewRows) {
  std::string text;
  for (int row = 0; row < 200; ++row) text += "abc def: 12.\n";
  auto grid = Grid(text);
  MarkEveryRow(*grid);
  InsertCell(*grid, 'x', {2, 100}, nullptr);
  EXPECT_TRUE(Untouched(*grid, 98));
  EXPECT_FALSE(Untouched(*grid, 100));
  for (int32_t row = 102; row < 200; ++row) ASSERT_TRUE(Untouched(*grid, row)) << row;
  MarkEveryRow(*grid);
  InsertString(*grid, "\r\n", {3, 50}, nullptr);
  EXPECT_TRUE(Untouched(*grid, 48));
  for (int32_t row = 49; row <= 52; ++row) EXPECT_FALSE(Untouched(*grid, row)) << row;
  for (int32_t row = 53; row < 201; ++row) ASSERT_TRUE(Untouched(*grid, row)) << row;
  MarkEveryRow(*grid);
  DeleteSection(*grid, {12, 150}, {12, 150}, nullptr);
  EXPECT_TRUE(Untouched(*grid, 148));
  for (int32_t row = 149; row <= 151; ++row) EXPECT_FALSE(Untouched(*grid, row)) << row;
  for (int32_t row = 152; row < 200; ++row) ASSERT_TRUE(Untouched(*grid, row)) << row;
}

TEST_F(RefreshTest, InvalidatesTheBandFromTheEditedRow) {
  std::string text;
  for (int row = 0; row < 10; ++row) text += "abc def\n";
  auto grid = Grid(text);
  HWND window = fake::WindowHandle(0x1234);
  const int32_t height = shared.settings.lineHeight();
  fake::ClearLogs();
  InsertCell(*grid, 'x', {1, 4}, window);  // row 5, 1-based; the re-scan stops on row 6
  ASSERT_EQ(fake::Invalidations().size(), 1u);
  const RECT band = fake::Invalidations()[0].rect;
  EXPECT_EQ(fake::Invalidations()[0].window, window);
  EXPECT_EQ(fake::Invalidations()[0].erase, FALSE);
  EXPECT_EQ(band.left, 0);
  EXPECT_EQ(band.right, 3000);
  EXPECT_EQ(band.top, 4 * height);
  EXPECT_EQ(band.bottom, 6 * height);
  // Scrolled, the band moves with the top corner.
  grid->SetTopCorner(5, height);
  fake::ClearLogs();
  InsertCell(*grid, 'x', {1, 4}, window);
  EXPECT_EQ(fake::Invalidations()[0].rect.left, -5);
  EXPECT_EQ(fake::Invalidations()[0].rect.top, 3 * height);
  // Removing rows reaches down over the rows that went away.
  fake::ClearLogs();
  DeleteSection(*grid, {0, 7}, {3, 9}, window);
  EXPECT_EQ(fake::Invalidations()[0].rect.bottom, 11 * height - height);
  fake::ClearLogs();
  InsertCell(*grid, 'x', {0, 0}, nullptr);
  EXPECT_TRUE(fake::Invalidations().empty());
}

}  // namespace
}  // namespace weft
