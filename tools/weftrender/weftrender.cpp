#include "tools/weftrender/weftrender.h"

#include <windows.h>

#include <string>
#include <string_view>

#include "tools/weftrender/options.h"
#include "tools/weftrender/picture.h"
#include "tools/weftrender/renderer.h"
#include "tools/weftrender/source_file.h"
#include "tools/weftrender/theme.h"

namespace weftrender {
namespace {

// Renders one input; false after printing why not.
bool RenderFile(const TOptions& options, const TTheme& theme, const std::string& input, std::FILE* out,
                std::FILE* err) {
  std::string text, note, error;
  if (!ReadSource(input, text, error)) {
    std::fprintf(err, "weftrender: %s\n", error.c_str());
    return false;
  }
  TPicture picture;
  if (!RenderText(options, theme, text, picture, note, error)) {
    std::fprintf(err, "weftrender: %s: %s\n", input.c_str(), error.c_str());
    return false;
  }
  if (!note.empty()) std::fprintf(out, "%s: %s\n", input.c_str(), note.c_str());
  const std::string output = OutputPath(options, input);
  if (!picture.WritePng(output, error)) {
    std::fprintf(err, "weftrender: %s\n", error.c_str());
    return false;
  }
  std::fprintf(out, "%s (%d x %d)\n", output.c_str(), picture.width(), picture.height());
  return true;
}

}  // namespace

int RunWeftrender(int argc, const char* const* argv, std::FILE* out, std::FILE* err) {
  if (argc == 2 && std::string_view(argv[1]) == "--help") {
    std::fputs(kUsage, out);
    return 0;
  }
  TOptions options;
  std::string error;
  if (!ParseOptions(argc, argv, options, error)) {
    std::fprintf(err, "weftrender: %s\n%s", error.c_str(), kUsage);
    return 2;
  }
  const TTheme* theme = FindTheme(options.theme);
  if (theme == nullptr) {
    std::fprintf(err, "weftrender: unknown theme \"%s\" (themes: %s)\n", options.theme.c_str(), ThemeNames().c_str());
    return 2;
  }
  if (!ConfigureLibrary(options, *theme, error)) {
    std::fprintf(err, "weftrender: %s\n", error.c_str());
    return 2;
  }
  // An existing folder is fine; one that cannot be made fails each write.
  if (!options.outputDir.empty()) CreateDirectoryA(options.outputDir.c_str(), nullptr);
  int failures = 0;
  for (const std::string& input : options.inputs) {
    if (!RenderFile(options, *theme, input, out, err)) ++failures;
  }
  return failures == 0 ? 0 : 1;
}

}  // namespace weftrender
