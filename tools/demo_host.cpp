// A small host: loads weftcore as the Smalltalk image does, by name, and
// drives it through its exports. It prints the version, round-trips a text
// (or the file named on the command line) through SetText and Text, walks
// its tokens, types into it and searches it.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "weftcore.h"

#if defined(_WIN32)
#include <windows.h>
using Module = HMODULE;
static Module Open(const char* path) { return LoadLibraryA(path); }
static void* Find(Module module, const char* name) {
  return reinterpret_cast<void*>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}
static const char* kDefaultLibrary = "weftcore.dll";
#else
#include <dlfcn.h>
using Module = void*;
static Module Open(const char* path) { return dlopen(path, RTLD_NOW); }
static void* Find(Module module, const char* name) { return dlsym(module, name); }
static const char* kDefaultLibrary = "libweftcore.so";
#endif

namespace {

template <typename Function>
Function Export(Module module, const char* name) {
  return reinterpret_cast<Function>(Find(module, name));
}

const char kSample[] =
    "printOn: aStream\n"
    "    \"Print a representation of the receiver on aStream\"\n"
    "    aStream nextPutAll: 'a ', self class name.\n"
    "    items do: [:each | aStream space; print: each]";

}  // namespace

int main(int argc, char** argv) {
  const char* libraryPath = argc > 1 ? argv[1] : kDefaultLibrary;
  Module module = Open(libraryPath);
  if (module == nullptr) {
    std::fprintf(stderr, "cannot load %s\n", libraryPath);
    return 1;
  }
  WeftPoint version{};
  Export<decltype(&VersionNumber)>(module, "VersionNumber")(&version);
  std::printf("weftcore version %d.%d\n", version.x, version.y);

  std::string text = kSample;
  if (argc > 2) {
    std::ifstream in(argv[2], std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    text = content.str();
  }
  WeftConfiguration configuration{};
  configuration.tabWidth = 4;
  Export<decltype(&SetConfiguration)>(module, "SetConfiguration")(&configuration);
  Export<decltype(&SetFont)>(module, "SetFont")("Courier New", 10);
  const int32_t grid = Export<decltype(&CreateGrid)>(module, "CreateGrid")();
  Export<decltype(&SetText)>(module, "SetText")(grid, text.data(), static_cast<int32_t>(text.size()), 1);
  const int32_t rows = Export<decltype(&NumberOfRows)>(module, "NumberOfRows")(grid);

  std::string stored(2 * text.size() + 1, '\0'), expanded(8 * text.size() + 1, '\0');
  auto readText = Export<decltype(&Text)>(module, "Text");
  stored.resize(static_cast<size_t>(readText(grid, stored.data(), static_cast<int32_t>(stored.size()), 0)));
  expanded.resize(static_cast<size_t>(readText(grid, expanded.data(), static_cast<int32_t>(expanded.size()), 1)));

  std::string expected;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) expected += '\r';
    expected += text[i];
  }
  std::printf("%d rows; %zu bytes stored with tabs, %zu bytes given back\n", rows, stored.size(), expanded.size());
  const bool same = expanded == expected || stored == expected;
  std::printf("round trip: %s\n", same ? "identical" : "DIFFERENT");

  auto nextToken = Export<decltype(&NextToken)>(module, "NextToken");
  Export<decltype(&RewindTokens)>(module, "RewindTokens")(grid);
  WeftTokenRecord token{};
  int tokens = 0, comments = 0;
  while (nextToken(grid, &token) >= 0) {
    ++tokens;
    comments += token.kind == 139 ? 1 : 0;
  }
  std::printf("%d tokens, %d of them comments\n", tokens, comments);

  WeftPoint end{};
  Export<decltype(&InsertString)>(module, "InsertString")(grid, "\"typed\" ", 1, 1, &end, nullptr);
  int32_t length = 0;
  const int32_t found = Export<decltype(&FindPattern)>(module, "FindPattern")(
      stored.c_str(), static_cast<int32_t>(stored.size()), "[A-Za-z]+:", &length, 1, 1, 1, 1);
  std::printf("typed a comment at row 1, now ending at column %d; first keyword at index %d, %d long\n", end.x,
              found, length);
  Export<decltype(&DeleteGrid)>(module, "DeleteGrid")(grid);
  return same ? 0 : 2;
}
