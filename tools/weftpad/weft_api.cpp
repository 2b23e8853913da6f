#include "weft_api.h"

#include <windows.h>

namespace {

class TBinder {
 public:
  explicit TBinder(HMODULE module) : module_(module) {}

  template <typename Function>
  void Bind(const char* name, Function& slot) {
    FARPROC address = GetProcAddress(module_, name);
    slot = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
    if (address == nullptr && missing_.empty()) missing_ = name;
  }

  const std::string& missing() const { return missing_; }

 private:
  HMODULE module_;
  std::string missing_;
};

}  // namespace

std::string LoadWeftApi(TWeftApi& api) {
  HMODULE module = LoadLibraryA("weftcore.dll");
  if (module == nullptr) return "cannot load weftcore.dll";
  TBinder binder(module);
  binder.Bind("CreateGrid", api.CreateGrid);
  binder.Bind("DeleteGrid", api.DeleteGrid);
  binder.Bind("SetConfiguration", api.SetConfiguration);
  binder.Bind("SetFont", api.SetFont);
  binder.Bind("CellSize", api.CellSize);
  binder.Bind("SetDefaultBackColor", api.SetDefaultBackColor);
  binder.Bind("SetDefaultForeColor", api.SetDefaultForeColor);
  binder.Bind("SetText", api.SetText);
  binder.Bind("Text", api.Text);
  binder.Bind("NumberOfRows", api.NumberOfRows);
  binder.Bind("ColumnsInRow", api.ColumnsInRow);
  binder.Bind("LastRowAndColumn", api.LastRowAndColumn);
  binder.Bind("InsertCell", api.InsertCell);
  binder.Bind("InsertString", api.InsertString);
  binder.Bind("DeleteSection", api.DeleteSection);
  binder.Bind("TextInRect", api.TextInRect);
  binder.Bind("AddKeyword", api.AddKeyword);
  binder.Bind("TokenAt", api.TokenAt);
  binder.Bind("Display", api.Display);
  binder.Bind("CellForPoint", api.CellForPoint);
  binder.Bind("PointForCell", api.PointForCell);
  binder.Bind("CellExtent", api.CellExtent);
  binder.Bind("SetTopCorner", api.SetTopCorner);
  binder.Bind("PointForIndex", api.PointForIndex);
  binder.Bind("IndexForPoint", api.IndexForPoint);
  binder.Bind("PointAfter", api.PointAfter);
  binder.Bind("PointBefore", api.PointBefore);
  binder.Bind("FindPattern", api.FindPattern);
  if (!binder.missing().empty()) return "weftcore.dll lacks the export " + binder.missing();
  return std::string();
}
