// One text being edited in one window. The grid is the document: the text
// lives only in the library, and every edit, search and save goes through its
// exports. The editor keeps the caret, the selection's anchor and the scroll
// position, all as the library's 1-based text positions (column, row) or
// pixels.
//
// Edits invalidate the band of the window that the library reports; caret
// and selection moves invalidate the rows they touch; scrolling invalidates
// the whole window. Paint draws what WM_PAINT asks for through Display.
#ifndef WEFT_TOOLS_WEFTPAD_EDITOR_H_
#define WEFT_TOOLS_WEFTPAD_EDITOR_H_

#include <windows.h>

#include <string>

#include "weft_api.h"

struct TFindRequest {
  std::string pattern;
  bool regularExpression = false;
  bool matchCase = false;
  bool forward = true;
};

class TEditor {
 public:
  TEditor(const TWeftApi& api, HWND window);
  ~TEditor();
  TEditor(const TEditor&) = delete;
  TEditor& operator=(const TEditor&) = delete;

  // Loads the file into the grid; a file that does not exist gives an empty
  // text that Save creates. Answers false when the file cannot be read.
  bool Open(const std::string& path);
  // Writes the text back to the opened path, with tabs expanded when the file
  // had none. Answers false, with `message` set, on failure.
  bool Save(std::string& message);
  const std::string& path() const { return path_; }
  bool modified() const { return modified_; }

  // Window events.
  void Paint(HDC dc, const RECT& area);
  void Resize(int width, int height);
  void SetFocused(bool focused);
  void ScrollRows(int rows);
  void ScrollToRow(int row);
  void ScrollToPixel(int x);
  int visibleRows() const;

  // Caret movement; `extend` keeps the anchor, making or growing a selection.
  void MoveLeft(bool extend);
  void MoveRight(bool extend);
  void MoveRows(int rows, bool extend);
  void MoveToRowStart(bool extend);
  void MoveToRowEnd(bool extend);
  void MoveToTextStart(bool extend);
  void MoveToTextEnd(bool extend);
  void MoveToPixel(int x, int y, bool extend);
  void SelectAll();

  // Edits: each first replaces a selection.
  void TypeCharacter(char character);
  void NewLine();
  void Backspace();
  void DeleteForward();
  void Paste(const std::string& text);
  void DeleteSelection();
  std::string SelectedText() const;

  // Selects the next match; answers false when there is none in the text.
  bool Find(const TFindRequest& request);

  // The caret's row and column and the token there.
  std::string Status() const;

 private:
  WeftPoint Clamp(WeftPoint point) const;
  WeftPoint EndOfText() const;
  int RowLength(int row) const;
  bool HasSelection() const;
  WeftPoint SelectionStart() const;
  // The position just after the selection, and its last position (which
  // Display, DeleteSection and TextInRect take, the ranges being inclusive).
  WeftPoint SelectionEnd() const;
  WeftPoint LastSelected() const;
  int32_t IndexOf(WeftPoint point) const;
  std::string WholeText(bool expandTabs) const;

  // Moves the caret, keeping or dropping the anchor, and repaints the rows
  // whose selection state changed.
  void SetCaret(WeftPoint caret, bool extend);
  void SetSelection(WeftPoint anchor, WeftPoint caret);
  // Moves the caret after an edit; the library has invalidated what changed.
  void AfterEdit(WeftPoint caret);
  void InvalidateRows(int firstRow, int lastRow);
  void UpdateScrollBars();
  void RevealCaret();
  void PlaceCaret();
  void SetTopCorner(int x, int topRow);

  const TWeftApi& api_;
  HWND window_;
  WeftView view_{};
  int32_t grid_;
  WeftPoint cell_{};
  std::string path_;
  bool fileHadTabs_ = false;
  bool modified_ = false;
  bool focused_ = false;
  WeftPoint caret_{1, 1};
  WeftPoint anchor_{1, 1};
  int desiredX_ = -1;  // text pixel the caret keeps over vertical moves
  int topRow_ = 0;     // 0-based row at the top of the window
  int leftX_ = 0;      // text pixel at the left edge of the window
  int width_ = 0;
  int height_ = 0;
};

#endif  // WEFT_TOOLS_WEFTPAD_EDITOR_H_
