// The weftcore exports that weftpad calls, found by name in weftcore.dll at
// start-up, as the IDE finds them. The types come from include/weftcore.h;
// nothing links against the DLL.
#ifndef WEFT_TOOLS_WEFTPAD_WEFT_API_H_
#define WEFT_TOOLS_WEFTPAD_WEFT_API_H_

#include <string>

#include "weftcore.h"

struct TWeftApi {
  decltype(&::CreateGrid) CreateGrid;
  decltype(&::DeleteGrid) DeleteGrid;
  decltype(&::SetConfiguration) SetConfiguration;
  decltype(&::SetFont) SetFont;
  decltype(&::CellSize) CellSize;
  decltype(&::SetDefaultBackColor) SetDefaultBackColor;
  decltype(&::SetDefaultForeColor) SetDefaultForeColor;
  decltype(&::SetText) SetText;
  decltype(&::Text) Text;
  decltype(&::NumberOfRows) NumberOfRows;
  decltype(&::ColumnsInRow) ColumnsInRow;
  decltype(&::LastRowAndColumn) LastRowAndColumn;
  decltype(&::InsertCell) InsertCell;
  decltype(&::InsertString) InsertString;
  decltype(&::DeleteSection) DeleteSection;
  decltype(&::TextInRect) TextInRect;
  decltype(&::AddKeyword) AddKeyword;
  decltype(&::TokenAt) TokenAt;
  decltype(&::Display) Display;
  decltype(&::CellForPoint) CellForPoint;
  decltype(&::PointForCell) PointForCell;
  decltype(&::CellExtent) CellExtent;
  decltype(&::SetTopCorner) SetTopCorner;
  decltype(&::PointForIndex) PointForIndex;
  decltype(&::IndexForPoint) IndexForPoint;
  decltype(&::PointAfter) PointAfter;
  decltype(&::PointBefore) PointBefore;
  decltype(&::FindPattern) FindPattern;
};

// Loads weftcore.dll from the program's folder or the search path and fills
// `api`. Answers an empty string, or what went wrong.
std::string LoadWeftApi(TWeftApi& api);

#endif  // WEFT_TOOLS_WEFTPAD_WEFT_API_H_
