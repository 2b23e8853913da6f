#include "text/refresh.h"

#include <algorithm>
#include <cassert>
#include <optional>
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
      : rowBuilder_(grid, previous), firstRow_(firstRow), row_(firstRow) {}

  // Adds a copy of a stored token, whose text the rows still hold, to `row`'s
  // list.
  void Add(int32_t row, const TToken& token) {
    StartRow(row);
    rowBuilder_.Add(row, token);
  }
  // Adds the token the scanner last cut; LastToken and LastText give it.
  void AddScanned(const TScanner& scanner, int32_t kind) {
    StartRow(scanner.tokenStart.row);
    rowBuilder_.AddScanned({kind, scanner.tokenStart, scanner.scanPosition});
  }
  TToken LastToken() const { return rowBuilder_.LastToken(); }
  std::string_view LastText() const { return rowBuilder_.LastText(); }

  // The attributes in effect after the tokens added so far.
  const TTextAttributeDelta* inEffect() const { return rowBuilder_.inEffect(); }

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
    if (rowBuilder_.empty()) return;
    rowBuilder_.FinishRow(Slot(tokens_, row_), Slot(attributes_, row_));
  }

  TRowListsBuilder rowBuilder_;
  int32_t firstRow_;
  int32_t row_;
  std::vector<TTokenList> tokens_;
  std::vector<TAttributeList> attributes_;
};

// An edit inside one row, in columns of that row: text before
// `firstChanged` is as it was, and from `firstUnchanged` on the row is its old
// text moved `shift` columns along.
struct TRowEdit {
  int32_t firstChanged;
  int32_t firstUnchanged;
  int32_t shift;
};

std::optional<TRowEdit> RowEditOf(TEditKind kind, TPoint start, TPoint end) {
  if (start.row != end.row || start.column < 0) return std::nullopt;
  if (kind == TEditKind::kInsertion) return TRowEdit{start.column, end.column, end.column - start.column};
  return TRowEdit{start.column, start.column, start.column - end.column - 1};
}

// Where a re-scan of the edited row alone starts: at the row's old token
// `first`, a few columns before the edit; or, when no token of the row starts
// that early, at the last token of `rowBefore`, the nearest earlier row with
// tokens (-1: none, and the re-scan starts at the row's first token).
struct TRowRestart {
  int32_t first;
  int32_t rowBefore;
  TPoint at;
};

// Both null, or equal attributes.
bool SameInEffect(const TTextAttributeDelta* before, const TTextAttributeDelta* now) {
  return before == nullptr ? now == nullptr : now != nullptr && *before == *now;
}

// The one test that lets a re-scan stop: the token `builder` added last
// equals `old`, which started at `oldStart` in the old text, and leaves the
// attributes in effect after it as they were, so the old text after it is
// cut and painted as before. `oldChanges` are the old attribute lists.
template <typename Builder>
bool StandsForOld(const Builder& builder, const TTokenWithText& old, TSplitSpan<const TAttributeList> oldChanges,
                  TPoint oldStart) {
  if (!TokensEqual(builder.LastToken(), builder.LastText(), old.token, old.text)) return false;
  TAttributeCursor cursor;
  return SameInEffect(AttributeAt(oldChanges, oldStart, cursor), builder.inEffect());
}

// The scanner reads at most two characters past a token's last one, so a
// token that starts this many columns before an edit starts where it did.
// A keyword part ("name:") is the one exception: it reads the whole word
// after its colon, which is the next token.
constexpr int32_t kUnchangedBoundaryMargin = 3;

// Re-scans against the old lists, which stay in place, at their old rows,
// until the new ones replace them: rows after the edit are found at their old
// row, `delta_` rows away.
class TRefresh {
 public:
  TRefresh(TStringGrid& grid, TEditKind kind, TPoint start, TPoint end)
      : grid_(grid),
        lists_(grid.tokenLists()),
        oldRowCount_(static_cast<int32_t>(grid.tokenLists().size())),
        start_(start),
        delta_(kind == TEditKind::kInsertion ? end.row - start.row : start.row - end.row),
        editEnd_(kind == TEditKind::kInsertion ? end : start),
        rowEdit_(RowEditOf(kind, start, end)) {}

  // Answers the last row whose lists were replaced.
  int32_t Run();

 private:
  bool RefreshInsideRow();
  std::optional<TRowRestart> RowRestart(const TTokenList& old, TRowEdit edit) const;
  TPoint PlaceScannerAtRestart();
  void PlaceBefore(TPoint restart, TScanner& scanner) const;
  const TTextAttributeDelta* InEffectBefore(TPoint restart) const;
  bool HoldsOnlyARepeat(int32_t row) const;
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
  const std::optional<TRowEdit> rowEdit_;  // for an edit inside one row
  TScanner scanner_;  // the re-scan's working state
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
  // The restart lookup places the host's token cursor, as every edit does, so
  // it comes first even where the row alone is re-scanned.
  const TPoint restart = PlaceScannerAtRestart();
  if (RefreshInsideRow()) return start_.row;
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

// Where the edit, inside the row whose old tokens are `old`, is re-scanned
// from; null when the row holds no tokens. A keyword part just before that
// token is cut again too, as it reads the word after its colon.
std::optional<TRowRestart> TRefresh::RowRestart(const TTokenList& old, TRowEdit edit) const {
  const int32_t row = start_.row;
  int32_t first = old.FirstStartingAfter(edit.firstChanged - kUnchangedBoundaryMargin) - 1;
  if (first > 0 && old.at(first - 1).kind == kKeywordPart) --first;
  if (first >= 0) return TRowRestart{first, -1, {old.StartColumn(first), row}};
  if (old.empty()) return std::nullopt;
  int32_t rowBefore = row - 1;
  while (rowBefore >= 0 && lists_[static_cast<size_t>(rowBefore)].empty()) --rowBefore;
  if (rowBefore < 0) return TRowRestart{0, -1, {old.StartColumn(0), row}};
  const TTokenList& before = lists_[static_cast<size_t>(rowBefore)];
  return TRowRestart{0, rowBefore, {before.StartColumn(before.count() - 1), rowBefore}};
}

// For an edit inside one row that kept every row: re-scans from a token that
// starts a few columns before the edit and stops at the first token past it
// that starts where an old token started (moved along with the text), equal
// to it and with the same attributes in effect. Only the row's lists change,
// spliced at the re-scanned tokens, so an edit in a long row costs a copy of
// its lists, not a scan of the row. Near the row's start the edit may change
// the token before the row's first one: the re-scan starts there, and the
// token list of the row that token starts on gets it cut again. Only white
// space, comments and strings run over rows, and a comment or string keeps
// its style open or closed, so that row's attribute list stays as it is.
// Answers false, having changed nothing, when the edit is not inside a row or
// a re-scanned token leaves those rows before such a token turns up.
bool TRefresh::RefreshInsideRow() {
  if (delta_ != 0 || !rowEdit_) return false;
  const TRowEdit edit = *rowEdit_;
  const int32_t row = start_.row;
  const TTokenList& old = lists_[static_cast<size_t>(row)];
  const std::optional<TRowRestart> rowRestart = RowRestart(old, edit);
  if (!rowRestart) return false;
  const auto [first, rowBefore, restart] = *rowRestart;
  TScanner scanner;
  scanner.endOfText = scanner_.endOfText;
  PlaceBefore(restart, scanner);
  // The scanner now stands on the last position before the restart token.
  TAttributeCursor cursor;
  TRowListsBuilder builder(grid_, AttributeAt(grid_.attributeLists(), scanner.scanPosition, cursor));
  TTokenList tokensBefore;
  const TRowsView rows = grid_.rows();
  while (!ScanAtEnd(scanner)) {
    const int32_t kind = ScanToken(rows, scanner);
    const TScannedToken token{kind, scanner.tokenStart, scanner.scanPosition};
    if (token.start == restart && restart.row == rowBefore) {
      if (token.end.row > row) return false;
      builder.AddScanned(token);
      const TTokenList& oldBefore = lists_[static_cast<size_t>(rowBefore)];
      tokensBefore = oldBefore.Spliced(oldBefore.count() - 1, oldBefore.count(), builder.tokens(), rows, 0);
      builder.DropRow();
      continue;
    }
    if (token.start.row != row || token.end.row != row) return false;
    builder.AddScanned(token);
    if (token.start.column < edit.firstUnchanged) continue;
    const int32_t oldStart = token.start.column - edit.shift;
    const int32_t last = old.FirstStartingAfter(oldStart) - 1;
    if (last < 0 || old.StartColumn(last) != oldStart) continue;
    TTokenWithText moved = old.WithText(last);
    moved.token.startColumn += edit.shift;
    moved.token.endColumn += moved.token.rowSpan == 0 ? edit.shift : 0;
    if (!StandsForOld(builder, moved, grid_.attributeLists(), {oldStart, row})) continue;

    const auto at = static_cast<size_t>(row);
    const TAttributeList& changes = grid_.attributeLists()[at];
    // A change that only repeats the attributes in effect goes as soon as its
    // row has changes of its own; it lies before the re-scanned tokens.
    const bool dropRepeat = !builder.changes().empty() && HoldsOnlyARepeat(row);
    const size_t firstChange = restart.row == row && !dropRepeat ? changes.FirstAfter(restart.column - 1) : 0;
    TAttributeList spliced = changes.Spliced(firstChange, changes.FirstAfter(oldStart), builder.changes(), edit.shift);
    grid_.editableTokenLists()[at] = old.Spliced(first, last + 1, builder.tokens(), rows, edit.shift);
    // No change of the row's own left: the attributes in effect are those
    // before the row, unchanged through it.
    if (spliced.empty()) spliced.push_back(RepeatedChange(*builder.inEffect(), grid_.tokenLists()[at].StartColumn(0)));
    grid_.editableAttributeLists()[at] = std::move(spliced);
    if (rowBefore >= 0) grid_.editableTokenLists()[static_cast<size_t>(rowBefore)] = std::move(tokensBefore);
    return true;
  }
  return false;
}

// Sets the re-scan's scanner before the token that holds the start of the
// row before the edit's (the text's start for an edit on the first row), and
// answers that token's start. The lookup is TokenAt's, which also puts the
// host's token cursor on that token.
TPoint TRefresh::PlaceScannerAtRestart() {
  TPoint restart{0, 0};
  if (start_.row >= 1) {
    if (const THandedToken token = TokenAt(grid_, {0, start_.row - 1})) restart = token.start;
  }
  PlaceBefore(restart, scanner_);
  return restart;
}

// Sets `scanner` to cut its next token from `restart` on.
void TRefresh::PlaceBefore(TPoint restart, TScanner& scanner) const {
  scanner.tokenStart = restart;
  if (restart == TPoint{0, 0}) {
    scanner.scanPosition = {-1, 0};
  } else if (restart.column > 0) {
    scanner.scanPosition = {restart.column - 1, restart.row};
  } else {
    scanner.scanPosition = {grid_.RowLength(restart.row - 1), restart.row - 1};
  }
}

// The row's one change repeats the attributes in effect before it, made only
// because the row has no change of its own. Reads the old lists.
bool TRefresh::HoldsOnlyARepeat(int32_t row) const {
  const TAttributeList& changes = grid_.attributeLists()[static_cast<size_t>(row)];
  if (changes.size() != 1 || changes[0].column != lists_[static_cast<size_t>(row)].StartColumn(0)) return false;
  const TTextAttributeDelta* before = InEffectBefore({0, row});
  return before != nullptr && *before == changes[0];
}

const TTextAttributeDelta* TRefresh::InEffectBefore(TPoint restart) const {
  if (restart.row < 1) return nullptr;
  TAttributeCursor cursor;
  const int32_t row = restart.row - 1;
  return AttributeAt(grid_.attributeLists(), {grid_.RowLength(row), row}, cursor);
}

// The restart row's tokens before the restart token are unchanged. The
// restart token is an old one, at or before the edit, so its row is an old row.
void TRefresh::KeepTokensBefore(TPoint restart, TListBuilder& builder) {
  assert(restart.row < oldRowCount_);
  const TTokenList& list = lists_[static_cast<size_t>(restart.row)];
  for (int32_t i = 0; i < list.count(); ++i) {
    const TToken token = list.at(i);
    if (token.rowSpan == 0 && token.endColumn < restart.column) builder.Add(restart.row, token);
  }
}

bool TRefresh::Rescan(TListBuilder& builder) {
  TScanner& scanner = scanner_;
  const TRowsView rows = grid_.rows();
  while (!ScanAtEnd(scanner)) {
    builder.AddScanned(scanner, ScanToken(rows, scanner));
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
  if (old.empty()) return false;
  const TTokenWithText oldLast = old.WithText(old.count() - 1);
  return StandsForOld(builder, oldLast, grid_.attributeLists(), {oldLast.token.startColumn, oldRow});
}

// Tokens of the sync row after the sync token are unchanged. The sync token
// equals an old one, so it ends on an old row.
void TRefresh::KeepTokensAfter(TPoint syncPoint, TListBuilder& builder) {
  const int32_t oldRow = syncPoint.row - delta_;
  assert(oldRow >= 0 && oldRow < oldRowCount_);
  const TTokenList& list = lists_[static_cast<size_t>(oldRow)];
  for (int32_t i = 0; i < list.count(); ++i) {
    if (list.StartColumn(i) > syncPoint.column) builder.Add(syncPoint.row, list.at(i));
  }
}

}  // namespace

void RefreshAfterEdit(TStringGrid& grid, TEditKind kind, TPoint start, TPoint end, HWND window) {
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
