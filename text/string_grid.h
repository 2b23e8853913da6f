// TStringGrid: the text of one editor, held as rows of 8-bit characters, with
// everything the library derives from it per row.
//
// Line model: a row is one line without its line break; between two rows there
// is one line break, written CR LF in every text the library hands out and
// counted as 2 characters by linear indices. A grid that was never given text
// has no rows; after SetText it has at least one. Text gives back what SetText
// was given, with CR LF line breaks, for a text without NUL bytes or a CR at
// its very end (a NUL ends its line and a last CR is dropped, as line_reader.h
// describes), and with its indentation as tabs where SetText converted it
// unless Text is asked to expand them.
//
// Row arguments are 0-based here. The queries by row (RowLength, StringAtRow)
// answer a row outside the text as an empty row; Row and TokenList, which hand
// out a row's own storage, need a row inside it (HasRow).
#ifndef WEFT_TEXT_STRING_GRID_H_
#define WEFT_TEXT_STRING_GRID_H_

#include <cassert>
#include <cstdint>

#include "base/arena.h"
#include "base/gap_vector.h"
#include "base/point.h"
#include "base/row_string.h"
#include "lex/token_list.h"
#include "platform/platform.h"
#include "style/attribute_list.h"
#include "style/attributes.h"
#include "text/shared_state.h"

namespace weft {

// Where NextToken and PreviousToken stand: the index of the current token in
// `row`'s token list. (-1, 0) is before the first token.
struct TTokenCursor {
  int32_t index = -1;
  int32_t row = 0;
};

class TStringGrid {
 public:
  explicit TStringGrid(const TSharedState& shared);
  TStringGrid(const TStringGrid&) = delete;
  TStringGrid& operator=(const TStringGrid&) = delete;

  // Replaces the whole text with the first `length` bytes at `text` (up to its
  // NUL when `length` is 0 or less). With `convertSpaces`, and no TAB in the
  // text, indentation spaces become TABs at the text's own indent width.
  void SetText(const char* text, int32_t length, bool convertSpaces);
  // Writes the text, NUL-terminated, never more than `size` bytes with the
  // NUL, and answers the number of bytes before the NUL; -1 without rows.
  int32_t Text(char* buffer, int32_t size, bool expandTabs) const;
  // Copies min(size, length) characters of the row, NUL-filling the rest of
  // the buffer, and answers that count.
  int32_t StringAtRow(int32_t row, char* buffer, int32_t size) const;

  int32_t NumberOfRows() const { return static_cast<int32_t>(rows_.size()); }
  bool HasRow(int32_t row) const { return row >= 0 && row < NumberOfRows(); }
  int32_t RowLength(int32_t row) const { return HasRow(row) ? Row(row).size() : 0; }
  const TRowString& Row(int32_t row) const { return rows_[static_cast<size_t>(row)]; }
  TSplitSpan<const TRowString> rows() const { return rows_.view(); }
  // For the edits, which change rows in place and then refresh the lists.
  TGapVector<TRowString>& editableRows() { return rows_; }
  // The point just after the last character: (length of the last row, last
  // row), or (0, 0) without rows.
  TPoint LastRowAndColumn() const;

  const TSharedState& shared() const { return shared_; }
  const TSettings& settings() const { return shared_.settings; }

  bool hasTabs() const { return hasTabs_; }
  int32_t indentWidth() const { return indentWidth_; }
  TDefaultColors defaultColors() const { return defaultColors_; }
  void SetDefaultBackColor(COLORREF color) { defaultColors_.back = color; }
  void SetDefaultForeColor(COLORREF color) { defaultColors_.fore = color; }
  // One token list and one attribute list per row, in row order, once the
  // grid has rows (kept so by SetText, the rebuild and every edit, which
  // assert it in debug builds through AssertListsMatchRows).
  TSplitSpan<const TTokenList> tokenLists() const { return tokenLists_.view(); }
  // The same lists one at a time, for readers that take a few (the token
  // walk): cheaper than making a view per read.
  int32_t NumberOfLists() const { return static_cast<int32_t>(tokenLists_.size()); }
  const TTokenList& TokenList(int32_t row) const { return tokenLists_[static_cast<size_t>(row)]; }
  TSplitSpan<const TAttributeList> attributeLists() const { return attributeLists_.view(); }
  // For the rebuild and the refresh, which replace lists.
  TGapVector<TTokenList>& editableTokenLists() { return tokenLists_; }
  TGapVector<TAttributeList>& editableAttributeLists() { return attributeLists_; }
  // Where the lists of the last full rebuild keep their tokens and changes.
  TArena& listArena() { return listArena_; }
  TTokenCursor& tokenCursor() { return tokenCursor_; }

  void AssertListsMatchRows() const {
    assert(tokenLists_.size() == rows_.size() && attributeLists_.size() == rows_.size());
  }

  TPoint topCorner() const { return topCorner_; }
  void SetTopCorner(int32_t x, int32_t y) { topCorner_ = {x, y}; }

 private:
  void ReadRows(std::string_view text, bool convert);

  const TSharedState& shared_;
  // The rows and lists of the last SetText and rebuild, in a few large
  // blocks; rows and lists that grew since then have moved to blocks of
  // their own.
  TArena rowArena_;
  TArena listArena_;
  // Kept with their gaps where the last edit was: see TGapVector.
  TGapVector<TRowString> rows_;
  TGapVector<TTokenList> tokenLists_;
  TGapVector<TAttributeList> attributeLists_;
  TTokenCursor tokenCursor_;
  bool hasTabs_ = false;
  int32_t indentWidth_;
  TPoint topCorner_;  // pixels: column holds x, row holds y
  TDefaultColors defaultColors_;
};

}  // namespace weft

#endif  // WEFT_TEXT_STRING_GRID_H_
