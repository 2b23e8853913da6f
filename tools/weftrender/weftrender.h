// The whole weftrender program behind main(): parses the command line,
// configures weftcore.dll for the theme and font, and renders each input to
// its PNG picture. It prints each picture's path and any note about a cut to
// `out`, and errors to `err`. The result is the process exit status: 0 when
// every picture was written, 1 when some input failed, 2 on a bad command
// line, theme or font.
#ifndef WEFT_TOOLS_WEFTRENDER_WEFTRENDER_H_
#define WEFT_TOOLS_WEFTRENDER_WEFTRENDER_H_

#include <cstdio>

namespace weftrender {

int RunWeftrender(int argc, const char* const* argv, std::FILE* out, std::FILE* err);

}  // namespace weftrender

#endif  // WEFT_TOOLS_WEFTRENDER_WEFTRENDER_H_
