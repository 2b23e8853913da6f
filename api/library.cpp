#include "api/library.h"

namespace weft {

namespace {
TLibrary* library = nullptr;
}  // namespace

void AttachLibrary() {
  if (library == nullptr) library = new TLibrary;
}

void DetachLibrary() {
  delete library;
  library = nullptr;
}

TLibrary& TheLibrary() {
  AttachLibrary();
  return *library;
}

}  // namespace weft
