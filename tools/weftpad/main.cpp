// weftpad: a small editor window that hosts weftcore.dll as the IDE does.
// It opens the file named on its command line, edits it through the
// library's exports, and saves it back with Ctrl+S. The frame holds the
// editor, a find bar (Ctrl+F) and a status line with the caret's position
// and the token under it.
#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>

#include "editor.h"
#include "editor_window.h"
#include "find_bar.h"
#include "theme.h"
#include "weft_api.h"

namespace {

constexpr char kFrameClass[] = "WeftpadFrame";
constexpr int kEditorId = 100;
constexpr int kStatusId = 101;
constexpr int kFindBarId = 110;
constexpr int kStatusHeight = 20;

struct TApplication {
  TWeftApi api{};
  HINSTANCE instance = nullptr;
  HWND frame = nullptr;
  HWND editorWindow = nullptr;
  HWND status = nullptr;
  std::unique_ptr<TEditor> editor;
  TFindBar findBar;
  std::string message;  // the last command's outcome, shown once
};

TApplication application;

std::string FileName(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

void ShowStatus() {
  TEditor& editor = *application.editor;
  std::string status = editor.Status();
  if (!application.message.empty()) status += "    | " + application.message;
  application.message.clear();
  SetWindowTextA(application.status, status.c_str());
  const std::string name = editor.path().empty() ? "(no file)" : FileName(editor.path());
  const std::string title = name + (editor.modified() ? " *" : "") + " - weftpad";
  SetWindowTextA(application.frame, title.c_str());
}

void Layout() {
  RECT client;
  GetClientRect(application.frame, &client);
  const int findHeight = application.findBar.height();
  const int editorHeight = std::max(0L, client.bottom - kStatusHeight - findHeight);
  MoveWindow(application.editorWindow, 0, 0, client.right, editorHeight, TRUE);
  application.findBar.Layout(0, editorHeight, client.right);
  MoveWindow(application.status, 0, editorHeight + findHeight, client.right, kStatusHeight, TRUE);
}

void Find(bool reverse) {
  const TFindRequest request = application.findBar.Request(reverse);
  if (request.pattern.empty()) return;
  if (!application.editor->Find(request)) application.message = "not found: " + request.pattern;
}

void EditorCommand(WORD code) {
  switch (code) {
    case editor_window::kSaveRequested: {
      application.editor->Save(application.message);
      break;
    }
    case editor_window::kFindRequested:
      application.findBar.Show(true);
      Layout();
      return;
    case editor_window::kFindNextRequested:
    case editor_window::kFindPreviousRequested:
      Find(code == editor_window::kFindPreviousRequested);
      break;
    default:
      break;
  }
  ShowStatus();
}

void FindBarCommand(WORD code) {
  switch (code) {
    case TFindBar::kFindNext:
    case TFindBar::kFindPrevious:
      Find(code == TFindBar::kFindPrevious);
      ShowStatus();
      break;
    case TFindBar::kClose:
      application.findBar.Show(false);
      Layout();
      SetFocus(application.editorWindow);
      break;
    default:
      break;
  }
}

LRESULT CALLBACK FrameProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      Layout();
      return 0;
    case WM_SETFOCUS:
      SetFocus(application.editorWindow);
      return 0;
    case WM_COMMAND:
      if (LOWORD(wParam) == kEditorId) EditorCommand(HIWORD(wParam));
      if (LOWORD(wParam) == application.findBar.patternId()) FindBarCommand(HIWORD(wParam));
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

bool CreateWindows(int show) {
  WNDCLASSA frameClass{};
  frameClass.lpfnWndProc = FrameProcedure;
  frameClass.hInstance = application.instance;
  frameClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  frameClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  frameClass.lpszClassName = kFrameClass;
  RegisterClassA(&frameClass);
  editor_window::Register(application.instance);

  application.frame = CreateWindowExA(0, kFrameClass, "weftpad", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT,
                                      CW_USEDEFAULT, 800, 600, nullptr, nullptr, application.instance, nullptr);
  if (application.frame == nullptr) return false;
  application.editorWindow = editor_window::Create(application.frame, kEditorId, application.instance);
  application.editor = std::make_unique<TEditor>(application.api, application.editorWindow);
  editor_window::Bind(application.editorWindow, *application.editor);
  application.status =
      CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0, 0, 0, 0,
                      application.frame, reinterpret_cast<HMENU>(kStatusId), application.instance, nullptr);
  application.findBar.Create(application.frame, application.instance, kFindBarId);
  Layout();
  ShowWindow(application.frame, show);
  SetFocus(application.editorWindow);
  return true;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  application.instance = instance;
  const std::string failure = LoadWeftApi(application.api);
  if (!failure.empty()) {
    MessageBoxA(nullptr, failure.c_str(), "weftpad", MB_ICONERROR);
    return 1;
  }
  theme::Apply(application.api);
  if (!CreateWindows(show)) return 1;
  if (__argc > 1 && !application.editor->Open(__argv[1])) {
    application.message = std::string("cannot read ") + __argv[1];
  }
  ShowStatus();

  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  application.editor.reset();
  return static_cast<int>(message.wParam);
}
