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

  void Add(const TToken& token, std::string_view text) {
    StartRow(token.startRow);
    rows_.Add(token, text);
  }
  // Adds the token the scanner last cut; lastToken and lastText give it.
  void AddScanned(std::span<const TRowString> rows, const TScanner& scanner, int32_t kind) {
    StartRow(scanner.tokenStart.row);
    rows_.AddScanned(rows, {kind, scanner.tokenStart, scanner.scanPosition}, kRefreshSpanEndColumn);
  }
  const TToken& lastToken() const { return rows_.lastToken(); }
  std::string_view lastText() const { return rows_.lastText(); }

  // The attributes in effect after the tokens added so far.
  const TTextAttributeDelta* inEffect() const { return rows_.inEffect(); }

  // Puts the lists of rows firstRow to lastRow in place; rows that got no
  // token get empty lists.
  void Install(TStringGrid& grid, int32_t lastRow) {
    Flush();
    for (int32_t row = firstRow_; row <= lastRow; ++row) {
      grid.tokenLists()[static_cast<size_t>(row)] = std::move(Slot(tokens_, row));
      grid.attributeLists()[static_cast<size_t>(row)] = std::move(Slot(attributes_, row));
    }
  }

 private:
  template <typename List>
  List& Slot(std::vector<List>& lists, int32_t row) {
    const size_t index = static_cast<size_t>(row - firstRow_);
    if (index >= lists.size()) lists.resize(index + 1);
    return lists[index];
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
  template <typename Builder>
  void KeepTokensBefore(TPoint restart, Builder& builder);
  int32_t RescanMovedRows(TPoint restart);
  bool Rescan(TListBuilder& builder);
  bool InSync(const TToken& token, std::string_view text, const TListBuilder& builder) const;
  void KeepTokensAfter(TPoint syncPoint, TListBuilder& builder);
  void ShiftLists();

  TStringGrid& grid_;
  const std::vector<TTokenList>& lists_;  // the old lists, until the new ones are put in place
  const int32_t oldRowCount_;
  const TPoint start_;
  const int32_t delta_;  // rows the edit added after its start row (negative: removed)
  const TPoint editEnd_;  // in the new text: the re-scan may stop only past it
  TScanner scanner_;  // the re-scan's working state
  int32_t restartRow_ = 0;
  bool restartRowEmptied_ = false;  // every token of the restart row was kept
};

int32_t TRefresh::Run() {
  TScanner& scanner = scanner_;
  scanner.endOfText = EndOfText(grid_);
  const TPoint restart = RestartPoint();
  restartRow_ = restart.row;
  if (delta_ != 0) return RescanMovedRows(restart);
  TListBuilder builder(grid_, restart.row, InEffectBefore(restart));
  KeepTokensBefore(restart, builder);
  const bool synced = Rescan(builder);
  if (synced) KeepTokensAfter(scanner.scanPosition, builder);

  // Without a sync the scan ran to the end of the text; rows after its last
  // token (an emptied last row) lose their old tokens too.
  const int32_t lastReplaced = synced ? scanner.scanPosition.row : grid_.NumberOfRows() - 1;
  builder.Install(grid_, lastReplaced);
  return lastReplaced;
}

// An edit that adds or removes rows moves every token after it to another
// row, so none can equal an old one: the re-scan runs to the end of the text.
// The old lists are not needed for a sync, so each row's lists are written
// straight into place, into the storage of the list that moved there.
int32_t TRefresh::RescanMovedRows(TPoint restart) {
  TRowListsBuilder builder(grid_, InEffectBefore(restart));
  KeepTokensBefore(restart, builder);
  ShiftLists();
  std::vector<TTokenList>& tokens = grid_.tokenLists();
  std::vector<TAttributeList>& changes = grid_.attributeLists();
  const int32_t lastRow = grid_.NumberOfRows() - 1;
  if (tokens.size() != grid_.rows().size()) {
    // Rows outside the text reached the edit: rebuild rather than guess.
    RebuildTokens(grid_);
    return lastRow;
  }
  TScanner& scanner = scanner_;
  int32_t row = restart.row;
  const auto finishRowsBefore = [&](int32_t nextRow) {
    builder.FinishRow(tokens[static_cast<size_t>(row)], changes[static_cast<size_t>(row)]);
    for (++row; row < nextRow; ++row) {
      tokens[static_cast<size_t>(row)].clear();
      changes[static_cast<size_t>(row)].clear();
    }
  };
  ScanToEnd(grid_.rows(), scanner, [&](const TScannedToken& token) {
    if (token.start.row != row) finishRowsBefore(token.start.row);
    builder.AddScanned(grid_.rows(), token, kRefreshSpanEndColumn);
  });
  finishRowsBefore(lastRow + 1);
  return lastRow;
}

TPoint TRefresh::RestartPoint() {
  TScanner& scanner = scanner_;
  TPoint restart{0, 0};
  if (start_.row >= 1) {
    if (const THandedToken token = TokenAt(grid_, {0, start_.row - 1})) {
      restart = {token.token.startColumn, token.token.startRow};
    }
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
template <typename Builder>
void TRefresh::KeepTokensBefore(TPoint restart, Builder& builder) {
  if (restart.row >= oldRowCount_) return;
  const TTokenList& list = lists_[static_cast<size_t>(restart.row)];
  int32_t kept = 0;
  for (int32_t i = 0; i < list.count(); ++i) {
    const TToken& token = list.at(i);
    if (token.endRow == restart.row && token.endColumn < restart.column) {
      builder.Add(token, list.TextView(i));
      ++kept;
    }
  }
  restartRowEmptied_ = kept > 0 && kept == list.count();
}

// Rescan, InSync and KeepTokensAfter serve edits that kept the row count, so
// old and new rows share their numbers.
bool TRefresh::Rescan(TListBuilder& builder) {
  TScanner& scanner = scanner_;
  while (!ScanAtEnd(scanner)) {
    builder.AddScanned(grid_.rows(), scanner, ScanToken(grid_.rows(), scanner));
    if (InSync(builder.lastToken(), builder.lastText(), builder)) return true;
  }
  return false;
}

// The new token may stand for the rest of the old text when it equals the
// last token of its old row, lies on a row after the edit (so the text after
// it is untouched), and leaves the same attributes in effect as before.
bool TRefresh::InSync(const TToken& token, std::string_view text, const TListBuilder& builder) const {
  if (token.endRow <= editEnd_.row) return false;
  const int32_t oldRow = token.startRow;
  if (oldRow < 0 || oldRow >= oldRowCount_) return false;
  const TTokenList& old = lists_[static_cast<size_t>(oldRow)];
  if (old.empty() || (oldRow == restartRow_ && restartRowEmptied_)) return false;
  const int32_t last = old.count() - 1;
  if (!TokensEqual(token, text, old.at(last), old.TextView(last))) return false;
  TAttributeCursor cursor;
  const TTextAttributeDelta* before = AttributeAt(grid_.attributeLists(), {old.at(last).startColumn, oldRow}, cursor);
  const TTextAttributeDelta* now = builder.inEffect();
  return before == nullptr ? now == nullptr : now != nullptr && *before == *now;
}

// Tokens of the sync row after the sync token are unchanged.
void TRefresh::KeepTokensAfter(TPoint syncPoint, TListBuilder& builder) {
  const int32_t oldRow = syncPoint.row;
  if (oldRow < 0 || oldRow >= oldRowCount_) return;
  const TTokenList& list = lists_[static_cast<size_t>(oldRow)];
  for (int32_t i = 0; i < list.count(); ++i) {
    if (list.at(i).startColumn > syncPoint.column) builder.Add(list.at(i), list.TextView(i));
  }
}

// The lists of rows after the edit move with their rows.
void TRefresh::ShiftLists() {
  std::vector<TTokenList>& tokens = grid_.tokenLists();
  std::vector<TAttributeList>& attributes = grid_.attributeLists();
  const size_t at = static_cast<size_t>(std::clamp(start_.row + 1, 0, oldRowCount_));
  if (delta_ > 0) {
    tokens.insert(tokens.begin() + static_cast<long>(at), static_cast<size_t>(delta_), TTokenList());
    attributes.insert(attributes.begin() + static_cast<long>(at), static_cast<size_t>(delta_), TAttributeList());
  } else if (delta_ < 0) {
    const size_t count = std::min(static_cast<size_t>(-static_cast<int64_t>(delta_)), tokens.size() - at);
    tokens.erase(tokens.begin() + static_cast<long>(at), tokens.begin() + static_cast<long>(at + count));
    attributes.erase(attributes.begin() + static_cast<long>(at), attributes.begin() + static_cast<long>(at + count));
  }
}

}  // namespace

void RefreshAfterEdit(TStringGrid& grid, EditKind kind, TPoint start, TPoint end, HWND window) {
  const int32_t oldRowCount = static_cast<int32_t>(grid.tokenLists().size());
  const int32_t lastReplaced = TRefresh(grid, kind, start, end).Run();
  grid.AssertListsMatchRows();
  if (window == nullptr) return;
  // From the edit's row down through the last re-scanned row, and over the
  // rows a deletion emptied at the bottom of the window.
  const int64_t height = grid.settings().lineHeight();
  const TPoint corner = grid.topCorner();
  const int64_t top = int64_t{start.row} * height - corner.row;
  const int64_t bottomRow = std::max<int64_t>(lastReplaced + 1, grid.NumberOfRows() < oldRowCount ? oldRowCount : 0);
  const RECT band{ClampToInt32(-int64_t{corner.column}), ClampToInt32(top), kFillEdge,
                  ClampToInt32(std::max(top + height, bottomRow * height - corner.row))};
  InvalidateRect(window, &band, FALSE);
}

}  // namespace weft
