#include "text/refresh.h"

#include <algorithm>
#include <vector>

#include "base/int_math.h"
#include "text/rebuild.h"
#include "lex/scanner.h"
#include "text/token_cursor.h"
#include "style/attributes.h"
#include "text/string_grid.h"

namespace weft {

namespace {

// Fresh token and attribute lists for the rows from `firstRow` on, filled in
// text order.
class TListBuilder {
 public:
  TListBuilder(const TStringGrid& grid, int32_t firstRow, const TTextAttributeDelta* previous)
      : rows_(grid, previous), firstRow_(firstRow), row_(firstRow) {}

  // Adds a copy of a stored token to `row`'s list.
  void Add(int32_t row, const TToken& token, std::string_view text) {
    StartRow(row);
    rows_.Add(token, text);
  }
  // Adds the token the scanner last cut; lastToken and lastText give it.
  void AddScanned(TRowsView rows, const TScanner& scanner, int32_t kind) {
    StartRow(scanner.tokenStart.row);
    rows_.AddScanned(rows, {kind, scanner.tokenStart, scanner.scanPosition});
  }
  const TToken& lastToken() const { return rows_.lastToken(); }
  std::string_view lastText() const { return rows_.lastText(); }

  // The attributes in effect after the tokens added so far.
  const TTextAttributeDelta* inEffect() const { return rows_.inEffect(); }

  // Puts the lists of rows firstRow to lastRow in place of the old lists of
  // rows firstRow to oldLastRow; rows that got no token get empty lists. The
  // lists after them move with their rows.
  void Install(TStringGrid& grid, int32_t lastRow, int32_t oldLastRow) {
    Flush();
    Slot(tokens_, lastRow);
    Slot(attributes_, lastRow);
    Replace(grid.editableTokenLists(), oldLastRow, tokens_);
    Replace(grid.editableAttributeLists(), oldLastRow, attributes_);
  }

 private:
  template <typename List>
  List& Slot(std::vector<List>& lists, int32_t row) {
    const size_t index = static_cast<size_t>(row - firstRow_);
    if (index >= lists.size()) lists.resize(index + 1);
    return lists[index];
  }

  // Replaces the lists of rows firstRow_ to oldLastRow with `fresh`.
  template <typename List>
  void Replace(TGapVector<List>& lists, int32_t oldLastRow, std::vector<List>& fresh) {
    const size_t first = static_cast<size_t>(firstRow_);
    const size_t oldCount = static_cast<size_t>(oldLastRow - firstRow_ + 1);
    if (fresh.size() > oldCount) {
      lists.insert(first + oldCount, fresh.size() - oldCount);
    } else if (fresh.size() < oldCount) {
      lists.erase(first + fresh.size(), oldCount - fresh.size());
    }
    for (size_t i = 0; i < fresh.size(); ++i) lists[first + i] = std::move(fresh[i]);
  }

  void StartRow(int32_t row) {
    if (row == row_) return;
    Flush();
    row_ = row;
  }

  void Flush() {
    if (rows_.empty()) return;
    rows_.FinishRow(Slot(tokens_, row_), Slot(attributes_, row_));
  }

  TRowListsBuilder rows_;
  int32_t firstRow_;
  int32_t row_;
  std::vector<TTokenList> tokens_;
  std::vector<TAttributeList> attributes_;
};

// Re-scans against the old lists, which stay in place, at their old rows,
// until the new ones replace them: rows after the edit are found at their old
// row, `delta_` rows away.
class TRefresh {
 public:
  TRefresh(TStringGrid& grid, EditKind kind, TPoint start, TPoint end)
      : grid_(grid),
        lists_(grid.tokenLists()),
        oldRowCount_(static_cast<int32_t>(grid.tokenLists().size())),
        start_(start),
        delta_(kind == EditKind::kInsertion ? end.row - start.row : start.row - end.row),
        editEnd_(kind == EditKind::kInsertion ? end : start) {}

  // Answers the last row whose lists were replaced.
  int32_t Run();

 private:
  TPoint RestartPoint();
  const TTextAttributeDelta* InEffectBefore(TPoint restart);
  void KeepTokensBefore(TPoint restart, TListBuilder& builder);
  bool Rescan(TListBuilder& builder);
  bool InSync(const TListBuilder& builder) const;
  void KeepTokensAfter(TPoint syncPoint, TListBuilder& builder);

  TStringGrid& grid_;
  const TSplitSpan<const TTokenList> lists_;  // the old lists, until the new ones are put in place
  const int32_t oldRowCount_;
  const TPoint start_;
  const int32_t delta_;  // rows the edit added after its start row (negative: removed)
  const TPoint editEnd_;  // in the new text: the re-scan may stop only past it
  TScanner scanner_;  // the re-scan's working state
  int32_t restartRow_ = 0;
  bool restartRowEmptied_ = false;  // every token of the restart row was kept
};

int32_t TRefresh::Run() {
  const int32_t lastRow = grid_.NumberOfRows() - 1;
  if (oldRowCount_ + delta_ != lastRow + 1) {
    // The lists were not in step with the rows: rebuild rather than guess.
    RebuildTokens(grid_);
    return lastRow;
  }
  TScanner& scanner = scanner_;
  scanner.endOfText = EndOfText(grid_);
  const TPoint restart = RestartPoint();
  restartRow_ = restart.row;
  TListBuilder builder(grid_, restart.row, InEffectBefore(restart));
  KeepTokensBefore(restart, builder);
  const bool synced = Rescan(builder);
  if (synced) KeepTokensAfter(scanner.scanPosition, builder);

  // Without a sync the scan ran to the end of the text; rows after its last
  // token (an emptied last row) lose their old tokens too.
  const int32_t lastReplaced = synced ? scanner.scanPosition.row : lastRow;
  builder.Install(grid_, lastReplaced, lastReplaced - delta_);
  return lastReplaced;
}

TPoint TRefresh::RestartPoint() {
  TScanner& scanner = scanner_;
  TPoint restart{0, 0};
  if (start_.row >= 1) {
    if (const THandedToken token = TokenAt(grid_, {0, start_.row - 1})) restart = token.start;
  }
  scanner.tokenStart = restart;
  if (restart == TPoint{0, 0}) {
    scanner.scanPosition = {-1, 0};
  } else if (restart.column > 0) {
    scanner.scanPosition = {restart.column - 1, restart.row};
  } else {
    scanner.scanPosition = {grid_.RowLength(restart.row - 1), restart.row - 1};
  }
  return restart;
}

const TTextAttributeDelta* TRefresh::InEffectBefore(TPoint restart) {
  if (restart.row < 1) return nullptr;
  TAttributeCursor cursor;
  const int32_t row = restart.row - 1;
  return AttributeAt(grid_.attributeLists(), {grid_.RowLength(row), row}, cursor);
}

// The restart row's tokens before the restart token are unchanged.
void TRefresh::KeepTokensBefore(TPoint restart, TListBuilder& builder) {
  if (restart.row >= oldRowCount_) return;
  const TTokenList& list = lists_[static_cast<size_t>(restart.row)];
  int32_t kept = 0;
  for (int32_t i = 0; i < list.count(); ++i) {
    const TToken& token = list.at(i);
    if (token.rowSpan == 0 && token.endColumn < restart.column) {
      builder.Add(restart.row, token, list.TextView(i));
      ++kept;
    }
  }
  restartRowEmptied_ = kept > 0 && kept == list.count();
}

bool TRefresh::Rescan(TListBuilder& builder) {
  TScanner& scanner = scanner_;
  const TRowsView rows = grid_.rows();
  while (!ScanAtEnd(scanner)) {
    builder.AddScanned(rows, scanner, ScanToken(rows, scanner));
    if (InSync(builder)) return true;
  }
  return false;
}

// The token just scanned may stand for the rest of the old text when it
// equals the last token of its old row, lies on a row after the edit (so the
// text after it is untouched), and leaves the same attributes in effect as
// before. When the edit added or removed rows, only a token that starts after
// the edit's rows has an old row to compare with.
bool TRefresh::InSync(const TListBuilder& builder) const {
  const TScanner& scanner = scanner_;
  if (scanner.scanPosition.row <= editEnd_.row) return false;
  if (delta_ != 0 && scanner.tokenStart.row <= editEnd_.row) return false;
  const int32_t oldRow = scanner.tokenStart.row - delta_;
  if (oldRow < 0 || oldRow >= oldRowCount_) return false;
  const TTokenList& old = lists_[static_cast<size_t>(oldRow)];
  if (old.empty() || (oldRow == restartRow_ && restartRowEmptied_)) return false;
  const int32_t last = old.count() - 1;
  if (!TokensEqual(builder.lastToken(), builder.lastText(), old.at(last), old.TextView(last))) return false;
  TAttributeCursor cursor;
  const TTextAttributeDelta* before = AttributeAt(grid_.attributeLists(), {old.at(last).startColumn, oldRow}, cursor);
  const TTextAttributeDelta* now = builder.inEffect();
  return before == nullptr ? now == nullptr : now != nullptr && *before == *now;
}

// Tokens of the sync row after the sync token are unchanged.
void TRefresh::KeepTokensAfter(TPoint syncPoint, TListBuilder& builder) {
  const int32_t oldRow = syncPoint.row - delta_;
  if (oldRow < 0 || oldRow >= oldRowCount_) return;
  const TTokenList& list = lists_[static_cast<size_t>(oldRow)];
  for (int32_t i = 0; i < list.count(); ++i) {
    if (list.at(i).startColumn > syncPoint.column) builder.Add(syncPoint.row, list.at(i), list.TextView(i));
  }
}

}  // namespace

void RefreshAfterEdit(TStringGrid& grid, EditKind kind, TPoint start, TPoint end, HWND window) {
  const int32_t oldRowCount = static_cast<int32_t>(grid.tokenLists().size());
  const int32_t lastReplaced = TRefresh(grid, kind, start, end).Run();
  grid.AssertListsMatchRows();
  if (window == nullptr) return;
  // From the edit's row down through the last re-scanned row; when rows were
  // added or removed, everything below moved: down through the last row, and
  // over the rows a deletion emptied at the bottom of the window.
  const int64_t height = grid.settings().lineHeight();
  const TPoint corner = grid.topCorner();
  const int64_t top = int64_t{start.row} * height - corner.row;
  const int32_t rowCount = grid.NumberOfRows();
  const int64_t bottomRow =
      std::max<int64_t>(lastReplaced + 1, rowCount != oldRowCount ? std::max(rowCount, oldRowCount) : 0);
  const RECT band{ClampToInt32(-int64_t{corner.column}), ClampToInt32(top), kFillEdge,
                  ClampToInt32(std::max(top + height, bottomRow * height - corner.row))};
  InvalidateRect(window, &band, FALSE);
}

}  // namespace weft
