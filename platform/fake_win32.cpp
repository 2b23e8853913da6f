#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>
#include <utility>

#include "platform/fake_win32_control.h"

struct FakeGdiObject {
  enum class Type { kFont, kBrush } type;
  int fontIndex = -1;  // into the font records, for fonts
  COLORREF color = 0;  // for brushes
};

struct FakeDeviceContext {
  bool isInformationContext = false;
  bool deleted = false;
  HGDIOBJ font = nullptr;
  int characterExtra = 0;
  COLORREF textColor = 0;
  COLORREF backColor = 0x00FFFFFF;
  UINT align = 0;
  bool clipped = false;  // without a clip box GetClipBox answers ERROR
  RECT clipBox{};
};

struct FakeWindow {};

namespace weft::fake {
namespace {

struct World {
  FontMetricsScript script;
  int pixelsPerInch = 96;
  bool brushFails = false;
  std::deque<FakeGdiObject> objects;  // stable addresses for handles
  std::deque<FakeDeviceContext> contexts;
  std::vector<FontRecord> fonts;
  std::vector<TextOutRecord> textOuts;
  std::vector<FillRecord> fills;
  std::vector<InvalidateRecord> invalidations;
  std::vector<std::string> debugMessages;
};

World& TheWorld() {
  static World* world = new World;
  return *world;
}

FontMetrics DefaultMetrics(const LOGFONTA& logFont) {
  const LONG height = logFont.lfHeight < 0 ? -logFont.lfHeight + 3 : logFont.lfHeight;
  return {height, logFont.lfWeight >= FW_BOLD ? 9 : 8};
}

FontMetrics MetricsOf(const FakeGdiObject* font) {
  const LOGFONTA& logFont = TheWorld().fonts[static_cast<size_t>(font->fontIndex)].logFont;
  const FontMetricsScript& script = TheWorld().script;
  return script ? script(logFont) : DefaultMetrics(logFont);
}

bool IsLiveContext(HDC dc) { return dc != nullptr && !dc->deleted; }

}  // namespace

void Reset() {
  World& world = TheWorld();
  world = World{};
}

void SetFontMetricsScript(FontMetricsScript script) { TheWorld().script = std::move(script); }
void SetPixelsPerInch(int pixelsPerInch) { TheWorld().pixelsPerInch = pixelsPerInch; }
void SetBrushCreationFails(bool fails) { TheWorld().brushFails = fails; }

HDC CreatePaintContext() { return &TheWorld().contexts.emplace_back(); }

void SetClipBox(HDC dc, RECT box) {
  dc->clipped = true;
  dc->clipBox = box;
}

HWND WindowHandle(uintptr_t id) { return reinterpret_cast<HWND>(id); }

HFONT SelectedFont(HDC dc) { return dc->font; }

const std::vector<TextOutRecord>& TextOuts() { return TheWorld().textOuts; }
const std::vector<FillRecord>& Fills() { return TheWorld().fills; }
const std::vector<InvalidateRecord>& Invalidations() { return TheWorld().invalidations; }
const std::vector<std::string>& DebugMessages() { return TheWorld().debugMessages; }

void ClearLogs() {
  World& world = TheWorld();
  world.textOuts.clear();
  world.fills.clear();
  world.invalidations.clear();
  world.debugMessages.clear();
}

const std::vector<FontRecord>& Fonts() { return TheWorld().fonts; }

int FontIndex(HFONT font) {
  return font != nullptr && font->type == FakeGdiObject::Type::kFont ? font->fontIndex : -1;
}

int LiveFontCount() {
  int live = 0;
  for (const FontRecord& font : TheWorld().fonts) live += font.deleted ? 0 : 1;
  return live;
}

int OpenDisplayContexts() {
  int open = 0;
  for (const FakeDeviceContext& dc : TheWorld().contexts) {
    open += dc.isInformationContext && !dc.deleted ? 1 : 0;
  }
  return open;
}

}  // namespace weft::fake

using weft::fake::IsLiveContext;
using weft::fake::TheWorld;

HDC CreateDCA(LPCSTR, LPCSTR, LPCSTR, const void*) {
  FakeDeviceContext& dc = TheWorld().contexts.emplace_back();
  dc.isInformationContext = true;
  return &dc;
}

BOOL DeleteDC(HDC dc) {
  if (!IsLiveContext(dc)) return FALSE;
  dc->deleted = true;
  return TRUE;
}

int GetDeviceCaps(HDC dc, int index) {
  return IsLiveContext(dc) && index == LOGPIXELSY ? TheWorld().pixelsPerInch : 0;
}

HFONT CreateFontIndirectA(const LOGFONTA* logFont) {
  auto& world = TheWorld();
  world.fonts.push_back({*logFont, false, 0});
  FakeGdiObject& font = world.objects.emplace_back(FakeGdiObject{FakeGdiObject::Type::kFont});
  font.fontIndex = static_cast<int>(world.fonts.size()) - 1;
  return &font;
}

BOOL GetTextMetricsA(HDC dc, TEXTMETRICA* metrics) {
  if (!IsLiveContext(dc) || dc->font == nullptr) return FALSE;
  const weft::fake::FontMetrics font = weft::fake::MetricsOf(dc->font);
  *metrics = TEXTMETRICA{};
  metrics->tmHeight = font.height;
  metrics->tmAveCharWidth = font.aveCharWidth;
  metrics->tmMaxCharWidth = font.aveCharWidth;
  return TRUE;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
  if (!IsLiveContext(dc) || object == nullptr) return nullptr;
  HGDIOBJ previous = dc->font;
  dc->font = object;
  return previous;
}

BOOL DeleteObject(HGDIOBJ object) {
  if (object == nullptr) return FALSE;
  if (object->type == FakeGdiObject::Type::kFont) {
    weft::fake::FontRecord& record = TheWorld().fonts[static_cast<size_t>(object->fontIndex)];
    record.deleted = true;
    ++record.deleteCount;
  }
  return TRUE;
}

namespace {

// A Set call of a context's state: the new value in, the previous one out; 0
// from a dead context, as Win32 answers.
template <typename Value>
Value Exchange(HDC dc, Value FakeDeviceContext::*field, Value value) {
  return IsLiveContext(dc) ? std::exchange(dc->*field, value) : Value{0};
}

}  // namespace

int SetTextCharacterExtra(HDC dc, int extra) { return Exchange(dc, &FakeDeviceContext::characterExtra, extra); }
int GetTextCharacterExtra(HDC dc) { return IsLiveContext(dc) ? dc->characterExtra : 0; }
COLORREF SetTextColor(HDC dc, COLORREF color) { return Exchange(dc, &FakeDeviceContext::textColor, color); }
COLORREF GetTextColor(HDC dc) { return IsLiveContext(dc) ? dc->textColor : 0; }
COLORREF SetBkColor(HDC dc, COLORREF color) { return Exchange(dc, &FakeDeviceContext::backColor, color); }
COLORREF GetBkColor(HDC dc) { return IsLiveContext(dc) ? dc->backColor : 0; }
UINT SetTextAlign(HDC dc, UINT align) { return Exchange(dc, &FakeDeviceContext::align, align); }

HBRUSH CreateSolidBrush(COLORREF color) {
  if (TheWorld().brushFails) return nullptr;
  FakeGdiObject& brush = TheWorld().objects.emplace_back(FakeGdiObject{FakeGdiObject::Type::kBrush});
  brush.color = color;
  return &brush;
}

LONG TabbedTextOutA(HDC dc, int x, int y, LPCSTR text, int count, int tabCount,
                    const int* tabStops, int tabOrigin) {
  if (!IsLiveContext(dc)) return 0;
  weft::fake::TextOutRecord record{dc, x, y, std::string(text, count > 0 ? static_cast<size_t>(count) : 0),
                                   std::vector<int>(tabStops, tabStops + (tabCount > 0 ? tabCount : 0)),
                                   tabOrigin, dc->font, dc->textColor, dc->backColor,
                                   dc->characterExtra, dc->align};
  TheWorld().textOuts.push_back(std::move(record));
  return 0;
}

int GetClipBox(HDC dc, RECT* rect) {
  if (!IsLiveContext(dc) || !dc->clipped) return ERROR;
  *rect = dc->clipBox;
  return SIMPLEREGION;
}

int FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
  if (!IsLiveContext(dc) || brush == nullptr) return 0;
  TheWorld().fills.push_back({dc, *rect, brush->color});
  return 1;
}

DWORD GetSysColor(int index) {
  switch (index) {
    case COLOR_HIGHLIGHT: return 0x00FA9630;
    case COLOR_HIGHLIGHTTEXT: return 0x00FFFFFF;
    default: return 0;
  }
}

BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase) {
  TheWorld().invalidations.push_back({window, rect ? *rect : RECT{}, erase});
  return TRUE;
}

void OutputDebugStringA(LPCSTR message) { TheWorld().debugMessages.emplace_back(message ? message : ""); }
