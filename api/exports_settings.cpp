// Exports of the shared display settings and a grid's default colours.
#include <cstring>

#include "api/export.h"
#include "api/library.h"

using weft::TheLibrary;
using weft::TStringGrid;
using weft::WithGrid;

static_assert(sizeof(WeftConfiguration) == sizeof(weft::TConfiguration));
static_assert(sizeof(WeftLogFont) == sizeof(LOGFONTA));

extern "C" {

WEFT_EXPORT int32_t WEFT_CALL SetConfiguration(const WeftConfiguration* configuration) {
  if (configuration == nullptr) return 0;
  weft::TConfiguration copy;
  std::memcpy(&copy, configuration, sizeof copy);
  TheLibrary().shared.settings.SetConfiguration(copy);
  return 1;
}

WEFT_EXPORT void WEFT_CALL SetFont(const char* faceName, int32_t pointSize) {
  TheLibrary().shared.settings.SetFont(faceName, pointSize);
}

WEFT_EXPORT void WEFT_CALL GetLogFont(WeftLogFont* logFont) {
  if (logFont != nullptr) std::memcpy(logFont, &TheLibrary().shared.settings.logFont(), sizeof *logFont);
}

WEFT_EXPORT void WEFT_CALL CellSize(WeftPoint* size) {
  const weft::TSettings& settings = TheLibrary().shared.settings;
  if (size != nullptr) *size = {settings.cellWidth(), settings.lineHeight()};
}

WEFT_EXPORT void WEFT_CALL SetDefaultBackColor(int32_t handle, WeftColor color) {
  WithGrid(handle, [&](TStringGrid& grid) { grid.SetDefaultBackColor(color); });
}

WEFT_EXPORT void WEFT_CALL SetDefaultForeColor(int32_t handle, WeftColor color) {
  WithGrid(handle, [&](TStringGrid& grid) { grid.SetDefaultForeColor(color); });
}

}  // extern "C"
