// Drives weftcore.dll as an editor does to paint a text into a TPicture.
// ConfigureLibrary sets the library-wide state once (styles, font,
// keywords); RenderText then makes a grid for one text, gives it the
// theme's default colours and the text, sizes the picture from the cell
// metrics and CellExtent, and lets Display paint the chosen rows, with the
// selection, beside an optional line-number gutter. A picture is at most
// kMaxWidth by kMaxHeight pixels; a text larger than that is cut, and the
// cut is described in a note.
#ifndef WEFT_TOOLS_WEFTRENDER_RENDERER_H_
#define WEFT_TOOLS_WEFTRENDER_RENDERER_H_

#include <string>

#include "tools/weftrender/options.h"
#include "tools/weftrender/picture.h"
#include "tools/weftrender/theme.h"

namespace weftrender {

constexpr int kMaxWidth = 3000;
constexpr int kMaxHeight = 8000;

// Sets the library's configuration, font and keywords; false with `error`
// set if the font face is not installed.
bool ConfigureLibrary(const TOptions& options, const TTheme& theme, std::string& error);

// Paints `text` into `picture`, which it creates. False with `error` set if
// the requested rows lie past the text or the picture cannot be made; `note`
// says what was cut, or stays empty.
bool RenderText(const TOptions& options, const TTheme& theme, const std::string& text, TPicture& picture,
                std::string& note, std::string& error);

}  // namespace weftrender

#endif  // WEFT_TOOLS_WEFTRENDER_RENDERER_H_
