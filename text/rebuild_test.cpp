#include "text/rebuild.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "lex/token.h"
#include "text/token_cursor.h"
#include "style/attributes.h"
#include "tests/support/grid_test_support.h"

namespace weft {
namespace {

using testing::CorpusFiles;

struct StoredToken {
  int32_t row, startColumn, endColumn, endRow, kind;
  std::string text;
  friend bool operator==(const StoredToken&, const StoredToken&) = default;
};

std::ostream& operator<<(std::ostream& out, const StoredToken& t) {
  return out << "{row " << t.row << " " << t.startColumn << ".." << t.endColumn << "/" << t.endRow << " '" << t.text << "'}";
}

std::vector<StoredToken> StoredTokens(const TStringGrid& grid) {
  std::vector<StoredToken> tokens;
  for (size_t row = 0; row < grid.tokenLists().size(); ++row) {
    const TTokenList& list = grid.tokenLists()[row];
    for (int32_t i = 0; i < list.count(); ++i) {
      const TToken& t = list.at(i);
      tokens.push_back({static_cast<int32_t>(row), t.startColumn, t.endColumn, static_cast<int32_t>(row) + t.rowSpan, t.kind,
                        std::string(list.TextView(i))});
    }
  }
  return tokens;
}

class RebuildTest : public testing::GridTest {};

TEST_F(RebuildTest, TokensGoToTheirStartRows) {
  EXPECT_EQ(StoredTokens(*Grid("x\n\"c\n\nd\" y")),
            (std::vector<StoredToken>{{0, 0, 0, 0, kIdentifier, "x"},
                                      {0, 1, 1, 0, kWhiteSpace, "\r\n"},
                                      {1, 0, 1, 3, kComment, "\"c\r\n\r\nd\""},
                                      {3, 2, 2, 3, kWhiteSpace, " "},
                                      {3, 3, 3, 3, kIdentifier, "y"}}));
  TStringGrid empty(shared);
  RebuildTokens(empty);
  EXPECT_TRUE(empty.tokenLists().empty() && empty.attributeLists().empty());
}

// Rebuilding again takes back the arena the lists live in, so it neither grows the memory held nor changes a list;
// one grid given text after text, larger and smaller, always equals a fresh grid.
TEST_F(RebuildTest, RebuildsAndNextTextsReuseStorageAndEqualAFreshGrid) {
  std::string text;
  for (int i = 0; i < 3000; ++i) text += "foo: x bar: 'a string' \"comment\" #sym ^ self + 12\n\t";
  auto grid = Grid(text);
  const size_t held = grid->listArena().HeapBytes();
  for (int i = 0; i < 3; ++i) RebuildTokens(*grid);
  EXPECT_EQ(grid->listArena().HeapBytes(), held);
  testing::ExpectSameLists(*grid, *Grid(text), "rebuilt");
  const auto files = CorpusFiles(300000);
  if (files.empty()) GTEST_SKIP() << "corpus not found at " << WEFT_CORPUS_DIR;
  std::mt19937 random(3);
  for (int i = 0; i < 40; ++i) {
    const std::string next = testing::ReadFile(files[random() % files.size()]);
    grid->SetText(next.data(), static_cast<int32_t>(next.size()), i % 3 == 0);
    const auto fresh = Grid(next, i % 3 == 0);
    ASSERT_EQ(testing::RowsOf(*grid), testing::RowsOf(*fresh));
    testing::ExpectSameLists(*grid, *fresh, "text " + std::to_string(i));
  }
}

// A string's text is never a keyword.
TEST_F(RebuildTest, KeywordsTakeEffectAtTheNextRebuild) {
  auto grid = Grid("self foo");
  shared.keywords.Add("self");
  EXPECT_EQ(grid->attributeLists()[0].size(), 1u);
  RebuildTokens(*grid);
  EXPECT_EQ(grid->attributeLists()[0][0].foreColor,
            StyleFor(kKeywordStyle, grid->settings(), grid->defaultColors()).foreColor);
  EXPECT_EQ(StyleOfKind(kStringLiteral, "self", shared.keywords), kStringStyle);
}

// Token texts are cut to kMaxTokenText bytes: a longer identifier that begins with a word of that length is no
// keyword, since no such word is ever listed.
TEST_F(RebuildTest, ALongIdentifierIsNoKeywordForItsCutText) {
  const std::string cut(static_cast<size_t>(kMaxTokenText), 'a');
  shared.keywords.Add(cut);
  shared.keywords.Add("self");
  EXPECT_EQ(shared.keywords.count(), 1);
  auto grid = Grid(cut + "aaa self");
  const TTokenList& tokens = grid->tokenLists()[0];
  ASSERT_EQ(tokens.count(), 3);
  EXPECT_EQ(tokens.TextView(0), cut);
  const int32_t keywordColor = StyleFor(kKeywordStyle, grid->settings(), grid->defaultColors()).foreColor;
  TAttributeCursor cursor;
  EXPECT_NE(AttributeAt(grid->attributeLists(), {0, 0}, cursor)->foreColor, keywordColor);
  EXPECT_EQ(AttributeAt(grid->attributeLists(), {kMaxTokenText + 4, 0}, cursor)->foreColor, keywordColor);
}

// Tokens tile the scanned text: in order, without gap or overlap, each in its start row's list, rows inside a
// multi-row token empty, and their texts joined give the text back up to its last scanned character.
void ExpectTokensTile(const TStringGrid& grid, const std::string& name) {
  TPoint next{0, 0};
  std::string joined;
  int32_t coveredThroughRow = -1;
  for (const StoredToken& t : StoredTokens(grid)) {
    ASSERT_EQ((TPoint{t.startColumn, t.row}), next) << name << " " << t;
    ASSERT_GT(t.row, coveredThroughRow) << name << ": a row inside a multi-row token holds " << t;
    if (t.endRow != t.row) coveredThroughRow = t.endRow - 1;
    joined += t.text;
    // Rows hold no line feeds, so each one in the text is a line end, which
    // is one position written as two characters.
    const size_t positions = t.text.size() - static_cast<size_t>(std::count(t.text.begin(), t.text.end(), '\n'));
    for (size_t step = 0; step < positions; ++step) {
      next = next.column >= grid.RowLength(next.row) ? TPoint{0, next.row + 1} : TPoint{next.column + 1, next.row};
    }
    const bool pastLineEnd = t.endColumn >= grid.RowLength(t.endRow);
    ASSERT_EQ(next, (pastLineEnd ? TPoint{0, t.endRow + 1} : TPoint{t.endColumn + 1, t.endRow})) << name << " " << t;
  }
  // The last row's line end is never scanned, except as the one character of a text that is a single empty row.
  const std::string text = testing::TextOf(grid);
  ASSERT_TRUE(joined == text || (text.empty() && joined == "\r\n")) << name;
}

// Painting each character in the change AttributeAt finds shows the style of the token that covers it (white space
// only needs its background). Every row that holds tokens holds a change; one that repeats the change before it is
// its row's only change, at its first token.
void ExpectChangesMatchTokens(const TStringGrid& grid, const TKeywordTable& keywords, const std::string& name) {
  const TTextAttributeDelta* previous = nullptr;
  for (size_t row = 0; row < grid.attributeLists().size(); ++row) {
    const TAttributeList& changes = grid.attributeLists()[row];
    const TTokenList& tokens = grid.tokenLists()[row];
    ASSERT_EQ(changes.empty(), tokens.empty()) << name << " row " << row;
    for (const TTextAttributeDelta& change : changes) {
      const bool repeats = previous != nullptr && change == *previous;
      ASSERT_TRUE(!repeats || (changes.size() == 1 && change.column == tokens.StartColumn(0)))
          << name << " repeats at row " << row;
      previous = &change;
    }
  }
  for (size_t row = 0; row < grid.tokenLists().size(); ++row) {
    const TTokenList& list = grid.tokenLists()[row];
    for (int32_t i = 0; i < list.count(); ++i) {
      const TToken& token = list.at(i);
      const int32_t styleNumber = StyleOfKind(token.kind, list.TextView(i), keywords);
      const TTextAttributeDelta style = StyleFor(styleNumber, grid.settings(), grid.defaultColors());
      const int32_t startRow = static_cast<int32_t>(row);
      const int32_t last = token.rowSpan == 0 ? token.endColumn : grid.RowLength(startRow);
      for (int32_t column = token.startColumn; column <= last; ++column) {
        TAttributeCursor cursor;
        const TTextAttributeDelta* change = AttributeAt(grid.attributeLists(), {column, startRow}, cursor);
        ASSERT_NE(change, nullptr) << name;
        const bool painted = token.kind == kWhiteSpace ? change->backColor == style.backColor : *change == style;
        ASSERT_TRUE(painted) << name << " row " << row << " column " << column << " kind " << token.kind;
      }
    }
  }
}

// Every position of the text lies in the span of the token TokenAt answers for it, before any walk; forward and
// backward walks then visit the same tokens, one ending just before the next starts, and a second round of lookups
// answers as the first.
void ExpectWalksAndLookupsAgree(TStringGrid& grid, const std::string& name) {
  using testing::ShowToken;
  std::vector<std::string> lookups;
  for (int pass = 0; pass < 2; ++pass) {
    size_t lookup = 0;
    for (int32_t row = 0; row < grid.NumberOfRows(); ++row) {
      for (int32_t column = 0; column < grid.RowLength(row); ++column) {
        const THandedToken token = TokenAt(grid, {column, row});
        const std::string where = name + " at " + std::to_string(column) + "," + std::to_string(row);
        ASSERT_TRUE(token && token.start <= (TPoint{column, row}) && (TPoint{column, row}) <= token.end) << where;
        if (pass == 0) lookups.push_back(ShowToken(token));
        ASSERT_EQ(ShowToken(token), lookups[lookup++]) << where;
      }
    }
    if (pass == 1) break;
    std::vector<std::string> forward, backward;
    RewindTokens(grid);
    TPoint lastEnd{-1, -1};
    while (const THandedToken token = NextToken(grid)) {
      forward.push_back(ShowToken(token));
      ASSERT_TRUE(lastEnd.row == token.start.row ? lastEnd.column == token.start.column - 1 : lastEnd.row < token.start.row)
          << name << " " << forward.back();
      lastEnd = token.end;
    }
    while (const THandedToken token = PreviousToken(grid)) backward.insert(backward.begin(), ShowToken(token));
    if (!grid.tokenLists().back().empty() && !forward.empty()) backward.push_back(forward.back());
    ASSERT_EQ(backward, forward) << name;
  }
}

// Generated Smalltalk (a quarter of it turned to random bytes), runs of spaces and quotes for the space-to-tab
// conversion, and the corpus: each text comes back as it was given, with CR LF line breaks, with and without the
// conversion; its tokens tile it, its changes paint each token in its style (on the corpus files up to 64 KB), and
// token walks and lookups agree (on half the generated texts, and every fifth corpus file up to 48 KB).
TEST_F(RebuildTest, GridsOfGeneratedTextsAndTheCorpusKeepEveryInvariant) {
  shared.keywords.Add("self");
  shared.keywords.Add("ifTrue:");
  shared.keywords.Add("^");
  std::mt19937 random(3);
  struct Text {
    std::string name, text;
    bool anyBytes;  // and so no round trip: a NUL ends its line, and a lone CR at the end is dropped
  };
  std::vector<Text> texts;
  for (int trial = 0; trial < 6000; ++trial) {
    static const char* const kFragments[] = {
        "x", " ", "  ", "\t", "\n", "\r\n", "at:", "put:", "a:b:", ":=", "3", "16r1F", "2e", "1.5e-3", "-",
        "$", "$'", "'", "''", "\"", "#", "#foo:", "#+", "(", ")", "[:each | ", "]", "^", ".", ";", "<=",
        "\xe9", "\x01", "self", "_x", "r", "e", "...", "ifTrue:"};
    std::string text;
    for (size_t n = random() % 40; n > 0 && trial < 4000; --n) text += kFragments[random() % std::size(kFragments)];
    if (trial % 4 == 0) {
      for (char& c : text) c = static_cast<char>(random() % 256);
    }
    if (trial >= 4000) text = testing::RandomText(random, "     a'\n\n\"x", 79);
    texts.push_back({"trial " + std::to_string(trial), text, trial < 4000 && trial % 4 == 0});
  }
  const size_t firstFile = texts.size();
  for (const auto& path : CorpusFiles(UINTMAX_MAX)) texts.push_back({path.filename().string(), testing::ReadFile(path), false});
  for (size_t i = 0; i < texts.size(); ++i) {
    const auto& [name, text, anyBytes] = texts[i];
    for (bool convert : {true, false}) {
      auto grid = Grid(text, convert);
      ASSERT_TRUE(anyBytes || testing::TextOf(*grid, convert && !grid->hasTabs()) == testing::WithCrLf(text))
          << name << " convert " << convert << " indent " << grid->indentWidth();
      if (convert || text.size() > 65536) continue;
      ExpectTokensTile(*grid, name);
      ExpectChangesMatchTokens(*grid, shared.keywords, name);
      if (i < 3000 || (i >= firstFile && text.size() <= 48 * 1024 && (i - firstFile) % 5 == 0)) {
        ExpectWalksAndLookupsAgree(*grid, name);
      }
      if (HasFatalFailure()) return;
    }
  }
}

}  // namespace
}  // namespace weft
