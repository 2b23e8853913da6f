// Tokens and search through the exports: the token record read at its byte
// offsets, its text through the library's own pointer.
#include <gtest/gtest.h>

#include "dll_host.h"

namespace {

struct Token {
  int32_t startColumn, startRow, endColumn, endRow, length, kind;
  std::string text;
};

Token Read(const host::Record& record) {
  const char* text;
  std::memcpy(&text, record.bytes() + 16, sizeof text);
  return {record.Get(0), record.Get(4), record.Get(8), record.Get(12), record.Get(20), record.Get(24), text};
}

TEST(DllTokens, WalkAndLookUpThroughTheRecord) {
  auto keyword = host::Export<KeywordFn>("AddKeyword");
  keyword("self");
  keyword(nullptr);
  const int32_t handle = host::Export<CreateGridFn>("CreateGrid")();
  host::Export<SetTextFn>("SetText")(handle, "x := self.\n  \"note\" #at:put:", 0, 0);
  host::Export<HandleFn>("RewindTokens")(handle);
  auto next = host::Export<NextTokenFn>("NextToken");
  host::Record record(28);
  std::vector<Token> tokens;
  while (next(handle, record.data()) >= 0) tokens.push_back(Read(record));
  ASSERT_EQ(tokens.size(), 10u);
  EXPECT_EQ(tokens[2].text, ":=");
  EXPECT_EQ(tokens[2].kind, 129);
  EXPECT_EQ(tokens[2].startColumn, 3);
  EXPECT_EQ(tokens[4].text, "self");
  EXPECT_EQ(tokens[6].text, "\r\n  ");
  EXPECT_EQ(tokens[6].endRow, 2);  // stretched to just before the comment
  EXPECT_EQ(tokens[6].endColumn, 2);
  EXPECT_EQ(tokens[7].kind, 139);
  EXPECT_EQ(tokens[9].text, "#at:put:");
  EXPECT_EQ(tokens[9].kind, 144);
  for (const Token& token : tokens) EXPECT_EQ(token.length, static_cast<int32_t>(token.text.size()));
  host::Record previous(28);
  EXPECT_EQ(host::Export<NextTokenFn>("PreviousToken")(handle, previous.data()), 1);
  EXPECT_EQ(Read(previous).text, " ");
  EXPECT_EQ(host::Export<TokenAtFn>("TokenAt")(handle, 1, 2, record.data()), 4);  // the indentation
  host::Export<KeywordFn>("DeleteKeyword")("self");
  host::Export<DeleteGridFn>("DeleteGrid")(handle);
}

TEST(DllSearch, FindPatternAndNameMatching) {
  auto find = host::Export<FindPatternFn>("FindPattern");
  int32_t length = -7;
  EXPECT_EQ(find("xxabab", 6, "ab", &length, 4, 0, 1, 1), 5);
  EXPECT_EQ(length, 2);
  EXPECT_EQ(find("xxabab", 6, "ab", &length, 0, 0, 1, 0), 5);
  EXPECT_EQ(find("xaay", 4, "x@a+@y", &length, 1, 1, 1, 1), 2);
  EXPECT_EQ(length, 2);
  length = 99;
  EXPECT_EQ(find("abc", 3, "*a", &length, 1, 1, 1, 1), 0);
  EXPECT_EQ(length, 99);
  EXPECT_EQ(find("xxAB", 4, "ab", &length, 1, 0, 0, 1), 3);
  EXPECT_EQ(host::Export<BeginsWithFn>("BeginsWithIgnoreCase")("printOn:", "PRINTString", 5, 1), 1);
  EXPECT_EQ(host::Export<BeginsWithFn>("BeginsWithIgnoreCase")("printOn:", "PRINTString", 5, 0), 0);
  EXPECT_EQ(host::Export<MatchWeightFn>("CalcMatchWeight")("abc", 3, "abdc", 4), 75);
  EXPECT_EQ(host::Export<MatchWeightFn>("CalcMatchWeight")("xbc", 3, "ybc", 3), 66);
}

}  // namespace
