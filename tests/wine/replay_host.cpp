// The 32-bit replay host: loads weftcore.dll as the host does, binds its exports with GetProcAddress and replays
// call script files through them, printing the transcripts that scripts/replay-compare.sh compares with the native
// library's. Display paints into a memory device context.
#include <windows.h>

#include <cstdio>

#include "fuzz/call_script.h"
#include "fuzz/replay.h"

static void (*Lookup(const char* name, void* module))() {
  return reinterpret_cast<void (*)()>(GetProcAddress(static_cast<HMODULE>(module), name));
}

int main(int argc, char** argv) {
  HMODULE library = LoadLibraryA("weftcore.dll");
  if (library == nullptr) {
    std::printf("FAIL: cannot load weftcore.dll\n");
    return 1;
  }
  weft::fuzz::TScriptOptions options;
  options.deviceContext = CreateCompatibleDC(nullptr);
  options.setFont = false;
  return weft::fuzz::ReplayFiles(argc, argv, weft::fuzz::BindExports(Lookup, library), options, stdout);
}
