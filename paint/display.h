// Display: paints a stretch of a grid's text into the host's device context.
//
// The stretch runs from the from point to the to point, both inclusive; a
// position at a row's end stands for its line break, painted as blank space
// to the right of the row. Runs of equal attributes are drawn with one
// TabbedTextOut per row; the selected part is drawn in the system highlight
// colours; space right of row ends and below the text is filled with the
// blank background. When the device context has a clip box, as a host's paint
// context does, text is drawn only where its cells reach into it, and the runs
// of a row left or right of it are stepped over unseen: a long row costs what
// its visible part costs, plus a binary search and a search for tabs in the
// row up to the clip box (at memchr's pace). The device context's
// character extra and font are restored on return; colours and alignment are
// left as painting set them.
#ifndef WEFT_PAINT_DISPLAY_H_
#define WEFT_PAINT_DISPLAY_H_

#include "platform/platform.h"
#include "base/point.h"

namespace weft {

class TStringGrid;

// The stretch to paint and the selection, 0-based. A selection end with both
// coordinates negative means nothing is selected.
struct TDisplayRequest {
  HDC dc;
  TPoint from;
  TPoint to;
  TPoint selectionStart;
  TPoint selectionEnd;
};

// A from point above the text (negative row) is taken as the text's start.
void Display(const TStringGrid& grid, const TDisplayRequest& request);

}  // namespace weft

#endif  // WEFT_PAINT_DISPLAY_H_
