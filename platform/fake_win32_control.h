// Test-side control of the Win32 stand-in: scripted font metrics, device
// contexts to paint into, and logs of every text output, fill, invalidation
// and debugger message. Not part of the Windows build.
#ifndef WEFT_PLATFORM_FAKE_WIN32_CONTROL_H_
#define WEFT_PLATFORM_FAKE_WIN32_CONTROL_H_

#include <functional>
#include <string>
#include <vector>

#include "platform/fake_win32.h"

namespace weft::fake {

struct FontMetrics {
  LONG height;        // tmHeight, the cell height
  LONG aveCharWidth;  // tmAveCharWidth
};

// Answers the metrics of a font made from `logFont`. The default gives a
// fixed-pitch face whose cell is |lfHeight| + 3 (for a negative, character
// height) or lfHeight (for a positive, cell height) tall, 8 pixels wide, and
// 9 wide in bold; every variant keeps the regular height.
using FontMetricsScript = std::function<FontMetrics(const LOGFONTA& logFont)>;

struct TextOutRecord {
  HDC dc;
  int x, y;
  std::string text;
  std::vector<int> tabStops;
  int tabOrigin;
  HFONT font;
  COLORREF textColor;
  COLORREF backColor;
  int characterExtra;
  UINT align;
};

struct FillRecord {
  HDC dc;
  RECT rect;
  COLORREF color;
};

struct InvalidateRecord {
  HWND window;
  RECT rect;
  BOOL erase;
};

struct FontRecord {
  LOGFONTA logFont;
  bool deleted;
  int deleteCount;
};

// Forgets every log, font, device context and script; back to the defaults.
void Reset();
void SetFontMetricsScript(FontMetricsScript script);
void SetPixelsPerInch(int pixelsPerInch);
void SetBrushCreationFails(bool fails);

// A device context to paint into, as a host's paint context would be.
HDC CreatePaintContext();
// Gives a device context a clip box; until then GetClipBox answers ERROR.
void SetClipBox(HDC dc, RECT box);
HWND WindowHandle(uintptr_t id);
HFONT SelectedFont(HDC dc);

const std::vector<TextOutRecord>& TextOuts();
const std::vector<FillRecord>& Fills();
const std::vector<InvalidateRecord>& Invalidations();
const std::vector<std::string>& DebugMessages();
void ClearLogs();

// Every font ever created, in creation order, and how often each was deleted.
const std::vector<FontRecord>& Fonts();
int FontIndex(HFONT font);  // position in Fonts(), or -1
int LiveFontCount();
int OpenDisplayContexts();

}  // namespace weft::fake

#endif  // WEFT_PLATFORM_FAKE_WIN32_CONTROL_H_
