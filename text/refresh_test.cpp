#include "text/refresh.h"

#include <gtest/gtest.h>

#include <optional>
#include <tuple>
#include <random>
#include <unordered_set>

#include "platform/fake_win32_control.h"
#include "tests/support/grid_test_support.h"
#include "text/editing.h"
#include "text/rebuild.h"
#include "text/token_cursor.h"

namespace weft {
namespace {

using testing::ExpectSameLists;
using testing::RandomPoint;
using testing::RebuiltCopy;
using testing::SameRowLists;

class RefreshTest : public testing::GridTest {
 protected:
  RefreshTest() {
    shared.keywords.Add("self");
    shared.keywords.Add("^");
  }
};

// A grid's lists before an edit, to tell afterwards how many rows the edit's
// re-scan replaced and how many it had to.
struct ListsBefore {
  explicit ListsBefore(const TStringGrid& edited) : grid(edited.shared()) {
    for (const TRowString& row : edited.rows()) grid.editableRows().push_back(row);
    for (const TTokenList& list : edited.tokenLists()) grid.editableTokenLists().push_back(list);
    for (const TAttributeList& list : edited.attributeLists()) grid.editableAttributeLists().push_back(list);
    for (const TTokenList& list : edited.tokenLists()) {
      if (!list.empty()) texts.insert(list.TextView(0).data());
    }
  }

  // Rows with tokens whose list was replaced: a kept list, moved or not, still holds its texts where they were.
  size_t Rescanned(const TStringGrid& now) const {
    size_t rows = 0;
    for (const TTokenList& list : now.tokenLists()) rows += !list.empty() && !texts.contains(list.TextView(0).data());
    return rows;
  }

  // Rows between the longest runs, from the top and from the bottom, of rows whose lists are what they were.
  size_t Changed(const TStringGrid& now) const {
    const size_t count = now.tokenLists().size(), old = grid.tokenLists().size();
    size_t top = 0, bottom = 0;
    while (top < std::min(count, old) && SameRowLists(now, top, grid, top)) ++top;
    while (top + bottom < std::min(count, old) && SameRowLists(now, count - 1 - bottom, grid, old - 1 - bottom)) ++bottom;
    return count - top - bottom;
  }

  TStringGrid grid;
  std::unordered_set<const char*> texts;
};

// One random edit: a character, a string with or without line breaks, or a
// deletion within a row or across rows; now and then at the text's edges or
// near a row's start.
std::string RandomEdit(std::mt19937& random, TStringGrid& grid, HWND window = nullptr) {
  static const char* const kFragments[] = {"x", " ", "\n", "\r\n", "'", "\"", "$", "#", ":", "=", "1", "e", "r",
                                           "-", "self", "^", "\t", "ab:", "16r", "''", "a\nb", "\"c\nd\"", "\r",
                                           "abcd", "x:", "2.5e-", "#a:b:", "x:=", "$'", "-1"};
  TPoint at = RandomPoint(random, grid);
  const auto edge = random() % 8;
  if (edge == 0) at = random() % 2 ? TPoint{0, 0} : grid.LastRowAndColumn();
  if (edge == 1) at.column = static_cast<int32_t>(random() % 3);  // where the token before the row may change
  const std::string where = " at " + std::to_string(at.column) + "," + std::to_string(at.row);
  switch (random() % 4) {
    case 0: {
      const char c = "ab '\"$#:1\n\r\t"[random() % 12];
      at.column = std::min(at.column, grid.RowLength(at.row));
      InsertCell(grid, c, at, window);
      return "InsertCell " + std::to_string(c) + where;
    }
    case 1: {
      std::string text;
      for (size_t n = 1 + random() % 3; n > 0; --n) text += kFragments[random() % std::size(kFragments)];
      InsertString(grid, text.c_str(), at, window);
      return "InsertString '" + text + "'" + where;
    }
    default: {
      TPoint last = random() % 2 ? TPoint{at.column + static_cast<int32_t>(random() % 4), at.row} : RandomPoint(random, grid);
      if (last < at) std::swap(at, last);
      at.column = std::min(at.column, grid.RowLength(at.row));
      DeleteSection(grid, at, last, window);
      return "DeleteSection " + std::to_string(at.column) + "," + std::to_string(at.row) + " to " +
             std::to_string(last.column) + "," + std::to_string(last.row);
    }
  }
}

// Random token reads: whole walks, walks back, lookups.
void ReadTokens(std::mt19937& random, TStringGrid& grid) {
  for (int read = static_cast<int>(random() % 4); read > 0; --read) {
    const auto how = random() % 3;
    if (how == 0) RewindTokens(grid);
    while (how == 0 && NextToken(grid)) {
    }
    while (how == 1 && PreviousToken(grid) && random() % 8 != 0) {
    }
    if (how == 2) TokenAt(grid, RandomPoint(random, grid));
  }
}

// Edits on each corpus file, on rows of 100 KB and on short texts (checked after every edit), with distinct
// backgrounds and then with one background for every style, where white space never makes a change of its own. Token
// reads come between the edits, never in a twin given the same edits: both keep the same lists and each edit
// invalidates the same band, so reading tokens never makes an edit re-scan more.
TEST_F(RefreshTest, RandomEditsMatchAFullRebuild) {
  std::mt19937 random(1234), reads(78);
  HWND window = fake::WindowHandle(0x99);
  const char* const kSeeds[] = {"", "x := 1", "a\n  b", "\"comment\nover rows\" self foo: 'str\ning' ^ 16r1F",
                                "##", "a\nbc", "a\n\n\"open\nb"};
  struct Run {
    std::string name, text;
    int steps, every;
  };
  std::vector<Run> runs;
  for (const auto& path : testing::CorpusFiles()) runs.push_back({path.filename().string(), testing::ReadFile(path), 100, 25});
  std::string longRows = "#[";
  while (longRows.size() < 100000) longRows += "12 ";
  for (longRows += "]\n"; longRows.size() < 200000;) longRows += "foo bar: baz ";
  runs.push_back({"rows of 100 KB", longRows, 20, 2});
  const size_t oneBackgroundFrom = runs.size() + 150;
  for (int i = 0; i < 300; ++i) runs.push_back({"sequence " + std::to_string(i), kSeeds[i % std::size(kSeeds)], 40, 1});
  for (size_t i = 0; i < runs.size(); ++i) {
    if (i == oneBackgroundFrom) {
      TConfiguration configuration = shared.settings.configuration();
      for (TStyle& style : configuration.styles) style.backColor = RGB(255, 255, 255);
      shared.settings.SetConfiguration(configuration);
    }
    auto grid = Grid(runs[i].text), twin = Grid(runs[i].text);
    std::string history;
    for (int step = 1; step <= runs[i].steps; ++step) {
      const bool checked = step % runs[i].every == 0;
      const std::optional<ListsBefore> before = checked ? std::optional<ListsBefore>(*grid) : std::nullopt;
      ReadTokens(reads, *grid);
      std::mt19937 same = random;
      fake::ClearLogs();
      history += RandomEdit(random, *grid, window) + "; ";
      const std::vector<fake::InvalidateRecord> band = fake::Invalidations();
      fake::ClearLogs();
      RandomEdit(same, *twin, window);
      const std::string context = runs[i].name + ": " + history;
      ASSERT_TRUE(std::ranges::equal(band, fake::Invalidations(), [](const auto& a, const auto& b) {
        return a.rect.top == b.rect.top && a.rect.bottom == b.rect.bottom;
      })) << context;
      if (!checked) continue;
      ExpectSameLists(*grid, *RebuiltCopy(*grid), context);
      ExpectSameLists(*grid, *twin, context);
      // An edit re-scans the rows it changed and at most two on either side: the row of the token it restarts from
      // and the row that token runs into; the row of the token it stops on and the row that token ends on.
      ASSERT_LE(before->Rescanned(*grid), before->Changed(*grid) + 4) << context;
      if (HasFatalFailure()) return;
    }
  }
}

// "name:" followed by a word that ends in a colon is one token, so typing or deleting that colon well after the
// keyword part's start cuts the keyword part again too.
TEST_F(RefreshTest, EditsAtTheEndOfTheWordAfterAKeywordPartCutItAgain) {
  const struct {
    const char* text;
    const char* inserted;  // null: delete the character at `at`
    TPoint at;
  } cases[] = {
      {"x foo:abcd y", ":", {10, 0}},
      {"x foo:abcd: y", nullptr, {10, 0}},
      {"x foo:abcd y\nz", "e:", {10, 0}},
  };
  for (const auto& c : cases) {
    auto grid = Grid(c.text);
    if (c.inserted != nullptr) InsertString(*grid, c.inserted, c.at, nullptr);
    if (c.inserted == nullptr) DeleteSection(*grid, c.at, c.at, nullptr);
    ExpectSameLists(*grid, *RebuiltCopy(*grid), c.text);
  }
}

// The white space ending row 1 is the same token before and after the edit, but the token before it turns from a
// character literal into the end of a string. With equal backgrounds the white space makes no change of its own, so
// stopping there would leave `$a` without the change it now needs.
TEST_F(RefreshTest, StopsOnlyWhereTheAttributesInEffectAreUnchanged) {
  TConfiguration configuration = shared.settings.configuration();
  for (TStyle& style : configuration.styles) style.backColor = RGB(255, 255, 255);
  shared.settings.SetConfiguration(configuration);
  auto grid = Grid("x\n$'\n$a b");
  InsertCell(*grid, '\'', {1, 0}, nullptr);
  ExpectSameLists(*grid, *RebuiltCopy(*grid), "string closed by a former character literal");
}

// The restart lookup of an edit leaves the host's token cursor on the token at the start of the row before the edit;
// an edit in the first row leaves it where it was.
TEST_F(RefreshTest, AnEditLeavesTheTokenCursorWhereItsRestartLookupPutIt) {
  const std::pair<TPoint, TTokenCursor> cases[] = {{{1, 0}, {2, 0}}, {{1, 1}, {0, 0}}, {{1, 2}, {0, 1}}};
  for (const auto& [at, expected] : cases) {
    auto grid = Grid("a b\nc d\ne f");
    RewindTokens(*grid);
    for (int step = 0; step < 3; ++step) NextToken(*grid);
    InsertCell(*grid, 'x', at, nullptr);
    EXPECT_EQ(std::pair(grid->tokenCursor().index, grid->tokenCursor().row), std::pair(expected.index, expected.row))
        << "edit in row " << at.row;
  }
}

// Typing, Enter and joining two rows each re-scan the rows from the one before the edit to the one after it, and
// invalidate the band from the edited row down to the last re-scanned one, or to the text's old end when rows came
// or went; the later rows' lists move with them. Typing a few columns into a row re-scans that row alone.
TEST_F(RefreshTest, EditsRescanAndInvalidateOnlyAFewRows) {
  std::string text;
  for (int row = 0; row < 200; ++row) text += row == 170 ? "abc 'def\n" : row == 171 ? "x' 12.\n" : "abc def: 12.\n";
  auto grid = Grid(text);
  HWND window = fake::WindowHandle(0x1234);
  const int32_t height = lineHeight();
  grid->SetTopCorner(5, height);
  const struct {
    const char* edit;
    TPoint at;
    int32_t firstRescanned, lastRescanned, bandTop, bandBottom;
  } cases[] = {
      {"x", {2, 100}, 99, 100, 99, 100},    // near the row's start: row 99's line break is cut again as well
      {"x", {0, 110}, 109, 110, 109, 110},  // so at the row's very start
      {"x", {9, 120}, 120, 120, 119, 120},  // far enough into the row to re-scan only there
      {"x", {3, 130}, 130, 130, 129, 130},  // so is the row's first token
      {"\r\n", {3, 50}, 49, 52, 49, 201},
      {"", {12, 150}, 149, 151, 149, 201},
      {"''", {5, 170}, 169, 171, 169, 171},  // a string over two rows, still closed on the second
  };
  for (const auto& c : cases) {
    const ListsBefore before(*grid);
    fake::ClearLogs();
    if (c.edit[0] == '\0') DeleteSection(*grid, c.at, c.at, window);
    if (c.edit[0] != '\0') InsertString(*grid, c.edit, c.at, window);
    for (int32_t row = 0; row < grid->NumberOfRows(); ++row) {
      const TTokenList& list = grid->tokenLists()[static_cast<size_t>(row)];
      const bool kept = list.empty() || before.texts.contains(list.TextView(0).data());
      ASSERT_EQ(kept, row < c.firstRescanned || row > c.lastRescanned) << c.at.row << " row " << row;
    }
    ASSERT_EQ(fake::Invalidations().size(), 1u);
    const fake::InvalidateRecord& band = fake::Invalidations()[0];
    EXPECT_EQ((std::tuple{band.window, band.erase, band.rect.left, band.rect.top, band.rect.right, band.rect.bottom}),
              (std::tuple{window, FALSE, -5, c.bandTop * height, 3000, c.bandBottom * height})) << c.at.row;
  }
  fake::ClearLogs();
  InsertCell(*grid, 'x', {0, 0}, nullptr);
  EXPECT_TRUE(fake::Invalidations().empty());
}

}  // namespace
}  // namespace weft
