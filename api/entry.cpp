// Load and unload. On Windows the DLL entry point runs the attach and detach
// work; elsewhere the shared library's constructor and destructor do.
#include "api/library.h"
#include "platform/platform.h"

#if defined(_WIN32)
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) weft::AttachLibrary();
  if (reason == DLL_PROCESS_DETACH) weft::DetachLibrary();
  return TRUE;
}
#else
__attribute__((constructor)) static void LoadLibraryState() { weft::AttachLibrary(); }
__attribute__((destructor)) static void UnloadLibraryState() { weft::DetachLibrary(); }
#endif
