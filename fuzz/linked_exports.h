// The export table of a program that links the library in, as a shared
// library or as its objects.
#ifndef WEFT_FUZZ_LINKED_EXPORTS_H_
#define WEFT_FUZZ_LINKED_EXPORTS_H_

#include "fuzz/call_script.h"

namespace weft::fuzz {

TExports LinkedExports();

}  // namespace weft::fuzz

#endif  // WEFT_FUZZ_LINKED_EXPORTS_H_
