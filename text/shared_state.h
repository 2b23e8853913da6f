// What every grid reads from the library: the display settings and the
// keyword table. The library owns one; tests make their own.
#ifndef WEFT_TEXT_SHARED_STATE_H_
#define WEFT_TEXT_SHARED_STATE_H_

#include "lex/keyword_table.h"
#include "settings/settings.h"

namespace weft {

struct TSharedState {
  TSettings settings;
  TKeywordTable keywords;
};

}  // namespace weft

#endif  // WEFT_TEXT_SHARED_STATE_H_
