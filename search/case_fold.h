// Case folding as the C library does it in the C locale: only A to Z change.
// Bytes of 128 and above are never letters here, whatever the host's code page.
#ifndef WEFT_SEARCH_CASE_FOLD_H_
#define WEFT_SEARCH_CASE_FOLD_H_

namespace weft {

constexpr unsigned char FoldCase(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

constexpr unsigned char UpperCase(unsigned char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - ('a' - 'A')) : c;
}

constexpr bool IsAsciiLetter(unsigned char c) { return FoldCase(c) >= 'a' && FoldCase(c) <= 'z'; }

}  // namespace weft

#endif  // WEFT_SEARCH_CASE_FOLD_H_
