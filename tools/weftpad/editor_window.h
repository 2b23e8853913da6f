// The editor's window: it turns keys, the mouse, scroll bars and paint
// requests into calls on a TEditor, and tells its parent what it cannot do
// itself (find, and that the status changed) through WM_COMMAND.
#ifndef WEFT_TOOLS_WEFTPAD_EDITOR_WINDOW_H_
#define WEFT_TOOLS_WEFTPAD_EDITOR_WINDOW_H_

#include <windows.h>

#include "editor.h"

namespace editor_window {

// Commands sent to the parent as WM_COMMAND with the editor's id.
constexpr WORD kStatusChanged = 1;
constexpr WORD kSaveRequested = 2;
constexpr WORD kFindRequested = 3;
constexpr WORD kFindNextRequested = 4;
constexpr WORD kFindPreviousRequested = 5;

void Register(HINSTANCE instance);

// A child window with scroll bars; `editor` must outlive it and is bound
// to it with Bind once created.
HWND Create(HWND parent, int id, HINSTANCE instance);
void Bind(HWND window, TEditor& editor);

}  // namespace editor_window

#endif  // WEFT_TOOLS_WEFTPAD_EDITOR_WINDOW_H_
