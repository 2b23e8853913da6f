// Stand-in for the parts of Win32 that the library calls, for builds other than
// Windows. Names, types and argument orders follow Win32 so the library's code
// is the same on both sides. Behaviour is recorded for tests: see
// fake_win32_control.h.
#ifndef WEFT_PLATFORM_FAKE_WIN32_H_
#define WEFT_PLATFORM_FAKE_WIN32_H_

#include <cstdint>

using BOOL = int;
using BYTE = uint8_t;
using UINT = unsigned int;
using LONG = int32_t;
using DWORD = uint32_t;
using COLORREF = uint32_t;
using LPCSTR = const char*;

struct FakeGdiObject;
struct FakeDeviceContext;
struct FakeWindow;
using HGDIOBJ = FakeGdiObject*;
using HFONT = FakeGdiObject*;
using HBRUSH = FakeGdiObject*;
using HDC = FakeDeviceContext*;
using HWND = FakeWindow*;

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;
constexpr int LOGPIXELSY = 90;
constexpr int ERROR = 0;
constexpr int SIMPLEREGION = 2;
constexpr int COLOR_HIGHLIGHT = 13;
constexpr int COLOR_HIGHLIGHTTEXT = 14;
constexpr LONG FW_NORMAL = 400;
constexpr LONG FW_BOLD = 700;
constexpr int LF_FACESIZE = 32;

struct RECT {
  LONG left, top, right, bottom;
};

struct LOGFONTA {
  LONG lfHeight;
  LONG lfWidth;
  LONG lfEscapement;
  LONG lfOrientation;
  LONG lfWeight;
  BYTE lfItalic;
  BYTE lfUnderline;
  BYTE lfStrikeOut;
  BYTE lfCharSet;
  BYTE lfOutPrecision;
  BYTE lfClipPrecision;
  BYTE lfQuality;
  BYTE lfPitchAndFamily;
  char lfFaceName[LF_FACESIZE];
};

struct TEXTMETRICA {
  LONG tmHeight;
  LONG tmAscent;
  LONG tmDescent;
  LONG tmInternalLeading;
  LONG tmExternalLeading;
  LONG tmAveCharWidth;
  LONG tmMaxCharWidth;
  LONG tmWeight;
};

inline constexpr COLORREF RGB(int r, int g, int b) {
  return static_cast<COLORREF>(r & 0xFF) | (static_cast<COLORREF>(g & 0xFF) << 8) |
         (static_cast<COLORREF>(b & 0xFF) << 16);
}

HDC CreateDCA(LPCSTR driver, LPCSTR device, LPCSTR port, const void* mode);
BOOL DeleteDC(HDC dc);
int GetDeviceCaps(HDC dc, int index);
HFONT CreateFontIndirectA(const LOGFONTA* logFont);
BOOL GetTextMetricsA(HDC dc, TEXTMETRICA* metrics);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
BOOL DeleteObject(HGDIOBJ object);
int SetTextCharacterExtra(HDC dc, int extra);
int GetTextCharacterExtra(HDC dc);
COLORREF SetTextColor(HDC dc, COLORREF color);
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF GetBkColor(HDC dc);
UINT SetTextAlign(HDC dc, UINT align);
HBRUSH CreateSolidBrush(COLORREF color);
LONG TabbedTextOutA(HDC dc, int x, int y, LPCSTR text, int count, int tabCount,
                    const int* tabStops, int tabOrigin);
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
int GetClipBox(HDC dc, RECT* rect);
DWORD GetSysColor(int index);
BOOL InvalidateRect(HWND window, const RECT* rect, BOOL erase);
void OutputDebugStringA(LPCSTR message);

#endif  // WEFT_PLATFORM_FAKE_WIN32_H_
