// The find bar under the editor: a pattern field and three options (regular
// expression, match case, backward). In the pattern field Enter finds the
// next match, Shift+Enter the previous one, F3 and Shift+F3 likewise, Escape
// closes the bar, Ctrl+A selects the pattern, and Alt+R, Alt+C and Alt+B
// toggle the options. It reports finding and closing to its parent as
// WM_COMMAND with the pattern field's id.
#ifndef WEFT_TOOLS_WEFTPAD_FIND_BAR_H_
#define WEFT_TOOLS_WEFTPAD_FIND_BAR_H_

#include <windows.h>

#include "editor.h"

class TFindBar {
 public:
  static constexpr WORD kFindNext = 1;
  static constexpr WORD kFindPrevious = 2;
  static constexpr WORD kClose = 3;

  // Creates the controls hidden; they take the ids `firstId` onward.
  void Create(HWND parent, HINSTANCE instance, int firstId);
  void Show(bool visible);
  int height() const;
  void Layout(int x, int y, int width);
  int patternId() const { return firstId_; }

  // The search the fields describe, in the direction they give or, with
  // `reverse`, the other one.
  TFindRequest Request(bool reverse) const;

 private:
  HWND pattern_ = nullptr;
  HWND regularExpression_ = nullptr;
  HWND matchCase_ = nullptr;
  HWND backward_ = nullptr;
  int firstId_ = 0;
  bool visible_ = false;
};

#endif  // WEFT_TOOLS_WEFTPAD_FIND_BAR_H_
