#include "fuzz/linked_exports.h"

namespace weft::fuzz {

TExports LinkedExports() {
  return {&CreateGrid,       &DeleteGrid,          &IsHandleOk,         &VersionNumber,
          &SetConfiguration, &SetFont,             &GetLogFont,         &CellSize,
          &SetDefaultBackColor, &SetDefaultForeColor, &SetText,          &Text,
          &StringAtRow,      &NumberOfRows,        &ColumnsInRow,       &LastRowAndColumn,
          &VisualColumnFor,  &NonTabbedToTabbedIndex, &IndexFromPixelWidth, &CellForPoint,
          &PointForCell,     &CellExtent,          &SetTopCorner,       &AtPoint,
          &PointForIndex,    &IndexForPoint,       &PointAfter,         &PointBefore,
          &PointAtDistanceFrom, &AddKeyword,       &DeleteKeyword,      &RebuildDataStructures,
          &RewindTokens,     &NextToken,           &PreviousToken,      &TokenAt,
          &Display,          &FindPattern,         &BeginsWithIgnoreCase, &CalcMatchWeight,
          &InsertCell,       &InsertString,        &DeleteSection,      &TextInRect};
}

}  // namespace weft::fuzz
