// Marks the library's exported C functions. On Windows the .def file names
// the exports (undecorated), so nothing is needed; elsewhere everything but
// the exports is hidden.
#ifndef WEFT_API_EXPORT_H_
#define WEFT_API_EXPORT_H_

#include "weftcore.h"

#if defined(_WIN32)
#define WEFT_EXPORT
#else
#define WEFT_EXPORT __attribute__((visibility("default")))
#endif

#endif  // WEFT_API_EXPORT_H_
