// Exports that create, delete and check grids, and report the version.
#include "api/export.h"
#include "api/library.h"
#include "platform/platform.h"

using weft::TheLibrary;

extern "C" {

WEFT_EXPORT int32_t WEFT_CALL CreateGrid(void) {
  weft::TLibrary& library = TheLibrary();
  return library.grids.Create(library.shared);
}

WEFT_EXPORT void WEFT_CALL DeleteGrid(int32_t handle) { TheLibrary().grids.Delete(handle); }

WEFT_EXPORT int32_t WEFT_CALL IsHandleOk(int32_t handle) {
  if (TheLibrary().grids.Find(handle) != nullptr) return 1;
  OutputDebugStringA("grids[index] is null\n");
  return 0;
}

WEFT_EXPORT WeftPoint* WEFT_CALL VersionNumber(WeftPoint* version) {
  if (version != nullptr) *version = {1, 2};
  return version;
}

}  // extern "C"
