// What the tests and the fuzz checks hold an edited grid to: a grid rebuilt
// from scratch over the same rows, compared list by list. No test framework
// here, so the fuzz targets can use it too.
#ifndef WEFT_TESTS_SUPPORT_GRID_COPY_H_
#define WEFT_TESTS_SUPPORT_GRID_COPY_H_

#include <algorithm>
#include <cstddef>
#include <memory>

#include "lex/token.h"
#include "text/rebuild.h"
#include "text/string_grid.h"

namespace weft::testing {

// A grid over the same shared state, rows and default colours as `grid`,
// with its lists made by a full rebuild.
inline std::unique_ptr<TStringGrid> RebuiltCopy(const TStringGrid& grid) {
  auto fresh = std::make_unique<TStringGrid>(grid.shared());
  for (const TRowString& row : grid.rows()) fresh->editableRows().push_back(row);
  fresh->SetDefaultBackColor(grid.defaultColors().back);
  fresh->SetDefaultForeColor(grid.defaultColors().fore);
  RebuildTokens(*fresh);
  return fresh;
}

// Row `rowA` of grid a holds the same lists as row `rowB` of grid b: tokens
// equal in every field and text, changes in every field.
inline bool SameRowLists(const TStringGrid& a, size_t rowA, const TStringGrid& b, size_t rowB) {
  const TTokenList& x = a.tokenLists()[rowA];
  const TTokenList& y = b.tokenLists()[rowB];
  bool same = x.count() == y.count();
  for (int32_t i = 0; same && i < x.count(); ++i) same = TokensEqual(x.at(i), x.TextView(i), y.at(i), y.TextView(i));
  return same && std::ranges::equal(a.attributeLists()[rowA], b.attributeLists()[rowB], [](const auto& p, const auto& q) {
           return p == q && p.column == q.column && p.characterExtra == q.characterExtra;
         });
}

}  // namespace weft::testing

#endif  // WEFT_TESTS_SUPPORT_GRID_COPY_H_
