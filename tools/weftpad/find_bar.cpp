#include "find_bar.h"

#include <algorithm>
#include <string>

namespace {

constexpr int kHeight = 26;
constexpr int kPatternWidth = 260;
constexpr int kOptionWidth = 150;
constexpr char kOriginalProcedure[] = "WeftpadEditProcedure";

void Toggle(HWND checkBox) {
  const bool checked = SendMessageA(checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
  SendMessageA(checkBox, BM_SETCHECK, checked ? BST_UNCHECKED : BST_CHECKED, 0);
}

bool Checked(HWND checkBox) { return SendMessageA(checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void Notify(HWND field, WORD code) {
  SendMessageA(GetParent(field), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(field), code), reinterpret_cast<LPARAM>(field));
}

// The pattern field's keys; everything else goes to the edit control.
LRESULT CALLBACK PatternProcedure(HWND field, UINT message, WPARAM wParam, LPARAM lParam) {
  const auto original = reinterpret_cast<WNDPROC>(GetPropA(field, kOriginalProcedure));
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  if (message == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_F3)) {
    Notify(field, shift ? TFindBar::kFindPrevious : TFindBar::kFindNext);
    return 0;
  }
  if (message == WM_KEYDOWN && wParam == VK_ESCAPE) {
    Notify(field, TFindBar::kClose);
    return 0;
  }
  if (message == WM_KEYDOWN && wParam == 'A' && GetKeyState(VK_CONTROL) < 0) {
    SendMessageA(field, EM_SETSEL, 0, -1);
    return 0;
  }
  // Enter, Escape and Ctrl+A would beep as characters.
  if (message == WM_CHAR && (wParam == '\r' || wParam == 27 || wParam == 1)) return 0;
  if (message == WM_SYSKEYDOWN) {
    const int id = GetDlgCtrlID(field);
    const int option = wParam == 'R' ? 1 : wParam == 'C' ? 2 : wParam == 'B' ? 3 : 0;
    if (option != 0) {
      Toggle(GetDlgItem(GetParent(field), id + option));
      return 0;
    }
  }
  if (message == WM_SYSCHAR && (wParam == 'r' || wParam == 'c' || wParam == 'b')) return 0;
  return CallWindowProcA(original, field, message, wParam, lParam);
}

HWND Control(HWND parent, HINSTANCE instance, const char* className, const char* text, DWORD style, int id) {
  return CreateWindowExA(0, className, text, WS_CHILD | style, 0, 0, 0, 0, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

}  // namespace

void TFindBar::Create(HWND parent, HINSTANCE instance, int firstId) {
  firstId_ = firstId;
  pattern_ = Control(parent, instance, "EDIT", "", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, firstId);
  regularExpression_ = Control(parent, instance, "BUTTON", "&Regular expression", BS_AUTOCHECKBOX, firstId + 1);
  matchCase_ = Control(parent, instance, "BUTTON", "Match &case", BS_AUTOCHECKBOX, firstId + 2);
  backward_ = Control(parent, instance, "BUTTON", "&Backward", BS_AUTOCHECKBOX, firstId + 3);
  SetPropA(pattern_, kOriginalProcedure, reinterpret_cast<HANDLE>(GetWindowLongPtrA(pattern_, GWLP_WNDPROC)));
  SetWindowLongPtrA(pattern_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PatternProcedure));
}

void TFindBar::Show(bool visible) {
  visible_ = visible;
  for (HWND control : {pattern_, regularExpression_, matchCase_, backward_}) {
    ShowWindow(control, visible ? SW_SHOW : SW_HIDE);
  }
  if (visible) {
    SetFocus(pattern_);
    SendMessageA(pattern_, EM_SETSEL, 0, -1);
  }
}

int TFindBar::height() const { return visible_ ? kHeight : 0; }

void TFindBar::Layout(int x, int y, int width) {
  MoveWindow(pattern_, x + 2, y + 2, std::min(kPatternWidth, width - 4), kHeight - 4, TRUE);
  int left = x + kPatternWidth + 12;
  for (HWND option : {regularExpression_, matchCase_, backward_}) {
    MoveWindow(option, left, y + 2, kOptionWidth, kHeight - 4, TRUE);
    left += kOptionWidth;
  }
}

TFindRequest TFindBar::Request(bool reverse) const {
  TFindRequest request;
  const int length = GetWindowTextLengthA(pattern_);
  std::string pattern(static_cast<size_t>(length) + 1, '\0');
  GetWindowTextA(pattern_, pattern.data(), length + 1);
  pattern.resize(static_cast<size_t>(length));
  request.pattern = pattern;
  request.regularExpression = Checked(regularExpression_);
  request.matchCase = Checked(matchCase_);
  request.forward = Checked(backward_) == reverse;
  return request;
}
