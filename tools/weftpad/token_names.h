// Names of the library's token kinds, for weftpad's status line.
#ifndef WEFT_TOOLS_WEFTPAD_TOKEN_NAMES_H_
#define WEFT_TOOLS_WEFTPAD_TOKEN_NAMES_H_

#include <string>

#include "weftcore.h"

// The token's kind and its text, shortened and with line breaks shown as
// spaces: `Comment "Answer the size"`.
std::string DescribeToken(const WeftTokenRecord& token);

#endif  // WEFT_TOOLS_WEFTPAD_TOKEN_NAMES_H_
