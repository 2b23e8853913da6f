// Attribute changes per row, and the lookups painting uses.
//
// A row's TAttributeList holds the points of that row where the font or a
// colour changes, in column order. A change holds from its point up to the
// next change in text order, across row ends, so a row without changes is
// painted in the last change of an earlier row; where no change applies at
// all, painting uses the library's default attributes. A change may repeat
// the one before it (the rebuild gives every row that holds tokens one), so
// the lookups here walk back only over rows inside a token.
#ifndef WEFT_STYLE_ATTRIBUTES_H_
#define WEFT_STYLE_ATTRIBUTES_H_

#include <cstdint>
#include <span>

#include "base/point.h"
#include "base/split_span.h"
#include "platform/platform.h"
#include "settings/attribute_delta.h"
#include "settings/settings.h"
#include "style/attribute_list.h"

namespace weft {

// The colours a style asks for when its flags say "use the default".
struct TDefaultColors {
  COLORREF fore = RGB(0, 0, 0);
  COLORREF back = RGB(255, 255, 255);
};

// A change cursor: the index of a change within `row`'s list. An index of -1
// stands before the row's first change, and one equal to the list's count
// after its last.
struct TAttributeCursor {
  int32_t index = 0;
  int32_t row = 0;
};

// The attributes a style of `settings` gives text: the style's font and
// character extra, and its colours or `defaults` where the style's flags ask
// for them.
TTextAttributeDelta StyleFor(int32_t style, const TSettings& settings, TDefaultColors defaults);

// The colour behind blank space (right of row ends, below the text).
COLORREF BlankBackground(const TSettings& settings, TDefaultColors defaults);

// Makes `dc` paint in the change's font and extra, and, unless `keepColours`,
// its colours (each set only where it differs).
void ApplyTo(const TTextAttributeDelta& change, HDC dc, bool keepColours);

// The change in effect at `point` among `lists` (one per row, in row order),
// or null; `cursor` is placed so that NextAttribute gives the first change
// after it.
const TTextAttributeDelta* AttributeAt(TSplitSpan<const TAttributeList> lists, TPoint point, TAttributeCursor& cursor);

// The next change after the cursor's, advancing the cursor; null (cursor
// unchanged) when there is none.
const TTextAttributeDelta* NextAttribute(TSplitSpan<const TAttributeList> lists, TAttributeCursor& cursor);

}  // namespace weft

#endif  // WEFT_STYLE_ATTRIBUTES_H_
