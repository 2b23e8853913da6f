#include "fuzz/grid_invariants.h"

#include <algorithm>
#include <memory>

#include "api/library.h"
#include "platform/fake_win32_control.h"
#include "text/string_grid.h"
#include "tests/support/grid_copy.h"

namespace weft::fuzz {

namespace {

// The text with CR LF between rows, as Text writes it.
std::string Joined(const TStringGrid& grid) {
  std::string text;
  for (const TRowString& row : grid.rows()) {
    if (&row != &grid.Row(0)) text += "\r\n";
    text += row.view();
  }
  return text;
}

class TGridCheck {
 public:
  TGridCheck(int32_t handle, TStringGrid& grid, TScriptObserver& observer)
      : handle_(handle), grid_(grid), observer_(observer) {}

  void ListsPerRow() {
    const size_t rows = grid_.rows().size();
    Expect(grid_.tokenLists().size() == rows && grid_.attributeLists().size() == rows,
           "a grid has not one token list and one attribute list per row");
  }

  void TextIsTheRows() {
    const std::string joined = Joined(grid_);
    std::string text(joined.size() + 1, '\0');
    const int32_t length = ::Text(handle_, text.data(), static_cast<int32_t>(text.size()), 0);
    if (grid_.rows().empty()) return Expect(length == -1, "Text of a grid without rows answered a length");
    Expect(text.substr(0, static_cast<size_t>(std::max(length, 0))) == joined, "Text differs from the rows");
  }

  // Every token starts where the one before ended, holds the text it spans,
  // and the last ends at the text's end.
  void TokenWalkTilesTheText() {
    const TTokenCursor saved = grid_.tokenCursor();
    ::RewindTokens(handle_);
    WeftPoint expected{1, 1};
    WeftTokenRecord token{};
    int32_t count = 0;
    for (; ::NextToken(handle_, &token) >= 0; ++count) {
      if (token.startColumn != expected.x || token.startRow != expected.y) {
        grid_.tokenCursor() = saved;
        return Expect(false, "the token walk has a gap or an overlap at row " + std::to_string(token.startRow) +
                                 " column " + std::to_string(token.startColumn));
      }
      if (token.length < kMaxTokenText) {
        std::string spanned(static_cast<size_t>(token.length) + 8, '\0');
        const int32_t length = ::TextInRect(handle_, token.startColumn, token.startRow, token.endColumn, token.endRow,
                                            spanned.data(), token.length + 4);
        Expect(std::string_view(spanned.data(), static_cast<size_t>(length)) ==
                   std::string_view(token.text, static_cast<size_t>(token.length)),
               "a token's text is not the text it spans");
      }
      WeftPoint after{};
      ::PointAfter(handle_, token.endColumn, token.endRow, &after);
      expected = after;
      if (count > 1 << 24) {
        grid_.tokenCursor() = saved;
        return Expect(false, "the token walk does not end");
      }
    }
    grid_.tokenCursor() = saved;
    if (count == 0) return Expect(grid_.rows().empty(), "the token walk hands out no token of a text");
    WeftPoint end{};
    ::LastRowAndColumn(handle_, &end);
    Expect(expected.x == end.x && expected.y == end.y, "the token walk stops before the text's end");
  }

  // The refreshed lists against a full rebuild of the same rows: every token
  // alike, every attribute change alike.
  void SameAsAFreshGrid() {
    const std::unique_ptr<TStringGrid> fresh = testing::RebuiltCopy(grid_);
    for (size_t row = 0; row < grid_.rows().size(); ++row) {
      if (!testing::SameRowLists(grid_, row, *fresh, row)) {
        return Expect(false, "a refreshed row's tokens or attribute changes differ from a fresh grid's on row " +
                                 std::to_string(row + 1));
      }
    }
  }

 private:
  void Expect(bool holds, const std::string& what) {
    if (!holds) observer_.Fail(what + " (grid " + std::to_string(handle_) + ")");
  }

  int32_t handle_;
  TStringGrid& grid_;
  TScriptObserver& observer_;
};

}  // namespace

void ReloadLinkedLibrary(TScriptOptions& options) {
  DetachLibrary();
  fake::Reset();
  AttachLibrary();
  options.deviceContext = fake::CreatePaintContext();
  HDC clipped = fake::CreatePaintContext();
  fake::SetClipBox(clipped, {-40, 10, 500, 300});
  options.clippedDeviceContext = clipped;
  options.window = fake::WindowHandle(1);
}

void TInvariantObserver::AfterCall(const std::vector<int32_t>& liveGrids, const std::vector<int32_t>& settledGrids) {
  for (int32_t handle : liveGrids) {
    TStringGrid* grid = TheLibrary().grids.Find(handle);
    if (grid == nullptr) {
      Fail("a grid the script made is gone (grid " + std::to_string(handle) + ")");
      continue;
    }
    TGridCheck check(handle, *grid, *this);
    check.ListsPerRow();
    const bool settled = std::find(settledGrids.begin(), settledGrids.end(), handle) != settledGrids.end();
    std::string fingerprint = std::to_string(grid->NumberOfRows()) + (settled ? 's' : 'u') + Joined(*grid);
    auto [last, fresh] = checked_.try_emplace(handle);
    if (!fresh && last->second == fingerprint) continue;
    last->second = std::move(fingerprint);
    check.TextIsTheRows();
    check.TokenWalkTilesTheText();
    if (settled) check.SameAsAFreshGrid();
  }
}

}  // namespace weft::fuzz
