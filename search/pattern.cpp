#include "search/pattern.h"

#include <algorithm>

#include "search/case_fold.h"

namespace weft {
namespace {

bool IsClosure(unsigned char c) { return c == '*' || c == '+' || c == '?'; }

int DigitValue(unsigned char c, int radix) {
  int value = 36;
  if (c >= '0' && c <= '9') {
    value = c - '0';
  } else if (IsAsciiLetter(c)) {
    value = FoldCase(c) - 'a' + 10;
  }
  return value < radix ? value : -1;
}

// Reads up to three digits of `radix` into `value`, starting at `at` and
// moving it past them; answers how many it read.
int ReadDigits(std::string_view source, size_t& at, int radix, unsigned& value) {
  int digits = 0;
  value = 0;
  while (digits < 3 && at < source.size()) {
    int digit = DigitValue(static_cast<unsigned char>(source[at]), radix);
    if (digit < 0) break;
    value = value * static_cast<unsigned>(radix) + static_cast<unsigned>(digit);
    ++at;
    ++digits;
  }
  return digits;
}

// Decodes the escape whose backslash is at source[at] and moves `at` past it.
unsigned char DecodeEscape(std::string_view source, size_t& at) {
  size_t i = at + 1;
  if (i == source.size()) {
    at = i;
    return '\\';
  }
  const unsigned char letter = static_cast<unsigned char>(source[i++]);
  unsigned value = letter;
  switch (FoldCase(letter)) {
    case 'b': value = 8; break;
    case 'e': value = 27; break;
    case 'f': value = 12; break;
    case 'n': value = 10; break;
    case 'r': value = 13; break;
    case 's': value = 32; break;
    case 't': value = 9; break;
    case 'x': {
      unsigned code = 0;
      if (ReadDigits(source, i, 16, code) > 0) value = code;
      break;
    }
    case '^':
      if (i < source.size()) value = UpperCase(static_cast<unsigned char>(source[i++])) - 64u;
      break;
    default:
      if (letter >= '0' && letter <= '7') {
        --i;
        ReadDigits(source, i, 8, value);
      }
      break;
  }
  at = i;
  return static_cast<unsigned char>(value & 0xFF);
}

// One member of a class, reduced to the 7 bits that classes compare.
unsigned char ReadClassMember(std::string_view source, size_t& at) {
  unsigned char c = static_cast<unsigned char>(source[at]);
  if (c == '\\') {
    c = DecodeEscape(source, at);
  } else {
    ++at;
  }
  return c & 0x7F;
}

// Parses a class whose '[' is just before source[at]; moves `at` past its end.
TCharSet ParseClass(std::string_view source, size_t& at) {
  size_t i = at;
  const auto isAt = [&](char c) { return i < source.size() && source[i] == c; };
  bool negated = false;
  if (isAt('^')) {
    negated = true;
    ++i;
  }
  TCharSet codes;  // 7-bit members
  if (isAt(']')) {
    ++i;
  } else {
    if (isAt('-')) {
      codes.Add('-');
      ++i;
    }
    while (i < source.size() && source[i] != ']') {
      const unsigned char low = ReadClassMember(source, i);
      if (isAt('-') && i + 1 < source.size() && source[i + 1] != ']') {
        ++i;
        const unsigned char high = ReadClassMember(source, i);
        codes.AddRange(std::min(low, high), std::max(low, high));
      } else {
        codes.Add(low);
      }
    }
    if (i < source.size()) ++i;
  }
  at = i;
  TCharSet bytes = codes.ByLow7Bits();
  if (negated) bytes.Invert();
  return bytes;
}

bool IsLineEndAnchor(std::string_view source, size_t dollar) {
  size_t next = dollar + 1;
  if (next == source.size()) return true;
  if (source[next] == '\\') return DecodeEscape(source, next) == kLineFeed;
  return source[next] == static_cast<char>(kLineFeed);
}

TPatternItem Consuming(const TCharSet& set, int literal = -1) {
  TPatternItem item;
  item.set = set;
  item.literal = static_cast<int16_t>(literal);
  return item;
}

TPatternItem Literal(unsigned char c, bool matchCase) {
  TCharSet set = TCharSet::Of(c);
  if (!matchCase && IsAsciiLetter(c)) {
    set.Add(FoldCase(c));
    set.Add(UpperCase(c));
  }
  return Consuming(set, c);
}

TPatternItem ZeroWidth(TItemKind kind) {
  TPatternItem item;
  item.kind = kind;
  return item;
}

// Turns the last item into its closure; `+` keeps it and adds the run.
void ApplyClosure(unsigned char closure, std::vector<TPatternItem>& items) {
  TPatternItem& last = items.back();
  if (closure == '?') {
    last.kind = TItemKind::kOptional;
  } else if (closure == '*') {
    last.kind = TItemKind::kStar;
  } else {
    TPatternItem run = last;
    run.kind = TItemKind::kStar;
    items.push_back(run);
  }
}

void NumberLoopsAndMarks(TPattern& pattern) {
  for (TPatternItem& item : pattern.items) {
    if (item.kind == TItemKind::kStar) item.loop = pattern.loopCount++;
    if (item.kind == TItemKind::kMark) item.mark = pattern.markCount++;
  }
}

}  // namespace

bool TPattern::ZeroWidthOnly() const {
  return std::all_of(items.begin(), items.end(), [](const TPatternItem& item) {
    return item.kind == TItemKind::kLineEnd || item.kind == TItemKind::kMark;
  });
}

TPattern CompilePattern(std::string_view source, bool matchCase) {
  TPattern pattern;
  pattern.matchCase = matchCase;
  if (source.empty() || IsClosure(static_cast<unsigned char>(source[0]))) return pattern;
  size_t i = 0;
  if (source[0] == '^') {
    pattern.anchored = true;
    i = 1;
  }
  std::vector<TPatternItem>& items = pattern.items;
  items.reserve(source.size());  // each character yields at most one item
  bool closureAllowed = false;  // the previous element consumes and has no closure yet
  while (i < source.size()) {
    const unsigned char c = static_cast<unsigned char>(source[i]);
    if (IsClosure(c)) {
      if (!closureAllowed) return TPattern{};
      ApplyClosure(c, items);
      closureAllowed = false;
      ++i;
      continue;
    }
    closureAllowed = true;
    if (c == '$' && IsLineEndAnchor(source, i)) {
      items.push_back(ZeroWidth(TItemKind::kLineEnd));
      closureAllowed = false;
      ++i;
    } else if (c == '@') {
      items.push_back(ZeroWidth(TItemKind::kMark));
      closureAllowed = false;
      ++i;
    } else if (c == '.') {
      TCharSet notLineFeed = TCharSet::Of(kLineFeed);
      notLineFeed.Invert();
      items.push_back(Consuming(notLineFeed));
      ++i;
    } else if (c == '[') {
      ++i;
      items.push_back(Consuming(ParseClass(source, i)));
    } else if (c == '\\') {
      items.push_back(Literal(DecodeEscape(source, i), matchCase));
    } else {
      items.push_back(Literal(c, matchCase));
      ++i;
    }
  }
  pattern.valid = true;
  NumberLoopsAndMarks(pattern);
  return pattern;
}

}  // namespace weft
