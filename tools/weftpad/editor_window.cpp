#include "editor_window.h"

#include <cstring>
#include <string>

namespace editor_window {

namespace {

constexpr char kClassName[] = "WeftpadEditor";

TEditor* EditorOf(HWND window) { return reinterpret_cast<TEditor*>(GetWindowLongPtrA(window, GWLP_USERDATA)); }

bool KeyDown(int key) { return GetKeyState(key) < 0; }

void Notify(HWND window, WORD code) {
  SendMessageA(GetParent(window), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), code), reinterpret_cast<LPARAM>(window));
}

std::string ClipboardText(HWND window) {
  std::string text;
  if (!OpenClipboard(window)) return text;
  if (HANDLE data = GetClipboardData(CF_TEXT)) {
    if (const char* characters = static_cast<const char*>(GlobalLock(data))) {
      text = characters;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

void SetClipboardText(HWND window, const std::string& text) {
  if (text.empty() || !OpenClipboard(window)) return;
  EmptyClipboard();
  if (HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1)) {
    std::memcpy(GlobalLock(data), text.c_str(), text.size() + 1);
    GlobalUnlock(data);
    if (!SetClipboardData(CF_TEXT, data)) GlobalFree(data);
  }
  CloseClipboard();
}

// Ctrl with a letter: the editor's commands. Answers false for other keys.
bool ControlKey(HWND window, TEditor& editor, WPARAM key) {
  switch (key) {
    case 'A':
      editor.SelectAll();
      return true;
    case 'C':
      SetClipboardText(window, editor.SelectedText());
      return true;
    case 'X':
      SetClipboardText(window, editor.SelectedText());
      editor.DeleteSelection();
      return true;
    case 'V':
      editor.Paste(ClipboardText(window));
      return true;
    case 'S':
      Notify(window, kSaveRequested);
      return true;
    case 'F':
      Notify(window, kFindRequested);
      return true;
    default:
      return false;
  }
}

bool MovementKey(TEditor& editor, WPARAM key, bool extend, bool control) {
  switch (key) {
    case VK_LEFT:
      editor.MoveLeft(extend);
      return true;
    case VK_RIGHT:
      editor.MoveRight(extend);
      return true;
    case VK_UP:
      editor.MoveRows(-1, extend);
      return true;
    case VK_DOWN:
      editor.MoveRows(1, extend);
      return true;
    case VK_PRIOR:
    case VK_NEXT: {
      const int rows = (editor.visibleRows() > 1 ? editor.visibleRows() - 1 : 1) * (key == VK_PRIOR ? -1 : 1);
      editor.ScrollRows(rows);
      editor.MoveRows(rows, extend);
      return true;
    }
    case VK_HOME:
      if (control) {
        editor.MoveToTextStart(extend);
      } else {
        editor.MoveToRowStart(extend);
      }
      return true;
    case VK_END:
      if (control) {
        editor.MoveToTextEnd(extend);
      } else {
        editor.MoveToRowEnd(extend);
      }
      return true;
    default:
      return false;
  }
}

bool HandleKey(HWND window, TEditor& editor, WPARAM key) {
  const bool shift = KeyDown(VK_SHIFT);
  const bool control = KeyDown(VK_CONTROL);
  if (MovementKey(editor, key, shift, control)) return true;
  if (key == VK_DELETE) {
    editor.DeleteForward();
    return true;
  }
  if (key == VK_F3) {
    Notify(window, shift ? kFindPreviousRequested : kFindNextRequested);
    return true;
  }
  return control && ControlKey(window, editor, key);
}

bool HandleCharacter(TEditor& editor, WPARAM character) {
  // Control combinations arrive as control characters too; their keys are
  // handled as commands. Ctrl with Alt is AltGr, which types.
  if (KeyDown(VK_CONTROL) && !KeyDown(VK_MENU)) return false;
  switch (character) {
    case '\b':
      editor.Backspace();
      return true;
    case '\r':
      editor.NewLine();
      return true;
    case '\t':
      editor.TypeCharacter('\t');
      return true;
    default:
      if (character < 32 || character == 127 || character > 255) return false;
      editor.TypeCharacter(static_cast<char>(character));
      return true;
  }
}

int ScrollTarget(HWND window, int bar, WORD request, int line, int page) {
  SCROLLINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SIF_ALL;
  GetScrollInfo(window, bar, &info);
  switch (request) {
    case SB_LINEUP:
      return info.nPos - line;
    case SB_LINEDOWN:
      return info.nPos + line;
    case SB_PAGEUP:
      return info.nPos - page;
    case SB_PAGEDOWN:
      return info.nPos + page;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      return info.nTrackPos;
    case SB_TOP:
      return info.nMin;
    case SB_BOTTOM:
      return info.nMax;
    default:
      return info.nPos;
  }
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  TEditor* editor = EditorOf(window);
  if (editor == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  const int x = static_cast<short>(LOWORD(lParam));
  const int y = static_cast<short>(HIWORD(lParam));
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      editor->Paint(dc, paint.rcPaint);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;  // Display paints every pixel it is asked for.
    case WM_SIZE:
      editor->Resize(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      editor->SetFocused(message == WM_SETFOCUS);
      return 0;
    case WM_KEYDOWN:
      if (!HandleKey(window, *editor, wParam)) break;
      Notify(window, kStatusChanged);
      return 0;
    case WM_CHAR:
      if (!HandleCharacter(*editor, wParam)) break;
      Notify(window, kStatusChanged);
      return 0;
    case WM_LBUTTONDOWN:
      SetFocus(window);
      SetCapture(window);
      editor->MoveToPixel(x, y, (wParam & MK_SHIFT) != 0);
      Notify(window, kStatusChanged);
      return 0;
    case WM_MOUSEMOVE:
      if (!(wParam & MK_LBUTTON) || GetCapture() != window) break;
      editor->MoveToPixel(x, y, true);
      Notify(window, kStatusChanged);
      return 0;
    case WM_LBUTTONUP:
      ReleaseCapture();
      return 0;
    case WM_MOUSEWHEEL:
      editor->ScrollRows(-3 * GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA);
      return 0;
    case WM_VSCROLL:
      editor->ScrollToRow(ScrollTarget(window, SB_VERT, LOWORD(wParam), 1, editor->visibleRows()));
      return 0;
    case WM_HSCROLL: {
      RECT client;
      GetClientRect(window, &client);
      editor->ScrollToPixel(ScrollTarget(window, SB_HORZ, LOWORD(wParam), 16, client.right / 2));
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

void Register(HINSTANCE instance) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursor(nullptr, IDC_IBEAM);
  windowClass.lpszClassName = kClassName;
  RegisterClassA(&windowClass);
}

HWND Create(HWND parent, int id, HINSTANCE instance) {
  return CreateWindowExA(0, kClassName, "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

void Bind(HWND window, TEditor& editor) {
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&editor));
}

}  // namespace editor_window
