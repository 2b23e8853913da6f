#include "fuzz/seed_scripts.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "fuzz/call_script.h"

namespace weft::fuzz {

namespace {

using std::literals::string_view_literals::operator""sv;

// Texts from the unit tests.
constexpr std::string_view kTexts[] = {
    "x := 3.\n\ty printNl"sv,
    "x := self.\n\"c\""sv,
    "abc\ndef\n\nxyz"sv,
    "#(1 $a 2r101 3.5e-2)"sv,
    "\"open"sv,
    "a\n\n\tb 'c"sv,
    "ab\ncd\nef"sv,
    "\ta\tb"sv,
    "  first\n    second\n      'lit  eral'\n  ^self"sv,
    "ifTrue: [^16r1F] ifFalse: [#sym:with:]"sv,
    "a\r\nb\rc\x00"
    "d\xe9\xff"sv,
};

constexpr int kSlot = 0;

void WalkAndQuery(TScriptWriter& script) {
  script.Call(kCallRebuildOrRewind).Slot(kSlot).Byte(0);
  for (int i = 0; i < 6; ++i) script.Call(kCallNextToken).Slot(kSlot).Byte(0);
  script.Call(kCallPreviousToken).Slot(kSlot).Byte(0);
  script.Call(kCallTokenAt).Slot(kSlot).Number(3).Number(1).Byte(0);
  script.Call(kCallText).Slot(kSlot).Number(100).Number(1).Byte(0);
  script.Call(kCallStringAtRow).Slot(kSlot).Number(2).Number(8);
  script.Call(kCallHandleQueries).Slot(kSlot).Number(1);
  script.Call(kCallColumnQueries).Slot(kSlot).Number(3).Number(2).Number(5);
  script.Call(kCallCells).Byte(0).Slot(kSlot).Number(40).Number(20);
  script.Call(kCallCells).Byte(1).Slot(kSlot).Number(4).Number(2);
  script.Call(kCallCells).Byte(2).Slot(kSlot);
  script.Call(kCallPositions).Byte(2).Slot(kSlot).Number(7);
  script.Call(kCallPositions).Byte(3).Slot(kSlot).Number(-3).Number(2).Number(2);
  script.Call(kCallPositions).Byte(0).Slot(kSlot).Number(3).Number(1);
  script.Call(kCallPositions).Byte(1).Slot(kSlot).Number(1).Number(2);
  script.Call(kCallDisplay)
      .Slot(kSlot)
      .Number(1)
      .Number(1)
      .Number(9)
      .Number(4)
      .Number(2)
      .Number(1)
      .Number(3)
      .Number(2)
      .Byte(0);
}

void Edit(TScriptWriter& script) {
  script.Call(kCallInsertString).Slot(kSlot).Text("12\n3").Number(2).Number(1).Byte(0).Byte(1);
  script.Call(kCallInsertCell).Slot(kSlot).Number('Z').Number(1).Number(1).Byte(1);
  script.Call(kCallDeleteSection).Slot(kSlot).Number(4).Number(1).Number(1).Number(2).Byte(0);
  script.Call(kCallTextInRect).Slot(kSlot).Number(1).Number(1).Number(9).Number(2).Number(31);
}

std::vector<uint8_t> TextScript(const std::string& text, bool convertSpaces) {
  TScriptWriter script;
  script.Call(kCallKeyword).Text("self").Byte(0);
  script.Call(kCallSetText).Slot(kSlot).Text(text).Byte(0).Number(convertSpaces ? 1 : 0);
  WalkAndQuery(script);
  Edit(script);
  WalkAndQuery(script);
  script.Call(kCallFindPattern).Text(text).Text("a*b").Number(0).Number(1).Byte(7);
  script.Call(kCallNameMatch).Text(text).Text("printNl").Number(3).Number(5).Number(7).Byte(1);
  script.Call(kCallIndexFromPixelWidth).Text(text).Number(8).Number(8).Number(4).Number(37).Byte(0);
  return script.bytes();
}

// The edits that once stopped the process or lost text, one script each.
std::vector<TSeed> FaultScripts() {
  std::vector<TSeed> seeds;
  auto add = [&](const char* name, TScriptWriter& script) { seeds.emplace_back(name, script.bytes()); };
  TScriptWriter negativeEnd;
  negativeEnd.Call(kCallSetText).Slot(kSlot).Text("ab\ncd\nef").Byte(0).Number(0);
  negativeEnd.Call(kCallDeleteSection).Slot(kSlot).Number(1).Number(1).Number(-5).Number(2).Byte(0);
  add("fault-negative-end-column", negativeEnd);
  TScriptWriter missingEndRow;
  missingEndRow.Call(kCallSetText).Slot(kSlot).Text("a\nb\nc").Byte(0).Number(0);
  missingEndRow.Call(kCallDeleteSection).Slot(kSlot).Number(2).Number(1).Number(1).Number(4).Byte(0);
  add("fault-missing-end-row", missingEndRow);
  TScriptWriter trailingCr;
  trailingCr.Call(kCallSetText).Slot(kSlot).Text("ab").Byte(0).Number(0);
  trailingCr.Call(kCallInsertString).Slot(kSlot).Text("x\r").Number(1).Number(1).Byte(0).Byte(0);
  add("fault-trailing-cr", trailingCr);
  TScriptWriter wideTabs;
  wideTabs.Call(kCallSetConfiguration).Number(INT32_MAX);
  for (int i = 0; i < 40; ++i) wideTabs.Number(0);
  wideTabs.Byte(1);
  wideTabs.Call(kCallCreateGrid).Byte(2);
  wideTabs.Call(kCallSetText).Slot(2).Text("\ta\tb").Byte(0).Number(0);
  wideTabs.Call(kCallText).Slot(2).Number(64).Number(1).Byte(0);
  wideTabs.Call(kCallDisplay)
      .Slot(2)
      .Number(1)
      .Number(1)
      .Number(9)
      .Number(1)
      .Number(-1)
      .Number(-1)
      .Number(-1)
      .Number(-1)
      .Byte(0);
  add("fault-wide-tabs", wideTabs);
  return seeds;
}

std::vector<std::filesystem::path> CorpusFiles(const std::string& corpusDir) {
  std::vector<std::filesystem::path> files;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(corpusDir, error)) {
    if (entry.path().extension() == ".st") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace

std::vector<TSeed> CallScriptSeeds(const std::string& corpusDir) {
  std::vector<TSeed> seeds = FaultScripts();
  for (size_t i = 0; i < std::size(kTexts); ++i) {
    const std::string text(kTexts[i]);
    seeds.emplace_back("text-" + std::to_string(i), TextScript(text, false));
    seeds.emplace_back("text-" + std::to_string(i) + "-tabbed", TextScript(text, true));
  }
  // Rows of thousands of tokens, which the lists keep in storage of their own.
  std::string longRows = "x := #[";
  while (longRows.size() < 20000) longRows += "12 ";
  longRows += "]\n";
  while (longRows.size() < 40000) longRows += "foo bar: baz ";
  seeds.emplace_back("long-rows", TextScript(longRows, false));
  // Every seventh corpus file, cut after 3 KB: enough to hold methods,
  // comments and literals without slowing every run.
  const std::vector<std::filesystem::path> files = CorpusFiles(corpusDir);
  for (size_t i = 0; i < files.size(); i += 7) {
    std::ifstream in(files[i], std::ios::binary);
    std::string text(3072, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(in.gcount()));
    seeds.emplace_back("corpus-" + files[i].stem().string(), TextScript(text, i % 2 == 0));
  }
  return seeds;
}

std::vector<TSeed> FindPatternSeeds() {
  struct TSearch {
    const char* text;
    const char* pattern;
    uint8_t flags;  // regular expression, match case, forward
    int32_t start;
  };
  constexpr TSearch kSearches[] = {
      {"xxabab", "ab", 6, 1},
      {"xxABab", "AB", 0, 6},
      {"ab\r\ncd", "b\r\nc", 6, 1},
      {"xxab", "^ab", 7, 3},
      {"ab\nab", "b$", 7, 3},
      {"xaay", "x@a+@y", 7, 1},
      {"aaaaaaaaaaaaaaaaaaaaaaaaab", "a*a*a*a*a*a*a*a*c", 7, 1},
      {"x := 3. y := x + 1", "[a-z]+ := [0-9]*", 5, 1},
      {"#(1 $a 2r101)", "\\$.", 7, 0},
      {"abcabcabc", ".*c?b", 3, 9},
  };
  std::vector<TSeed> seeds;
  for (const TSearch& search : kSearches) {
    std::vector<uint8_t> bytes = {search.flags, static_cast<uint8_t>(search.start + 8), 0,
                                  static_cast<uint8_t>(std::strlen(search.pattern))};
    bytes.insert(bytes.end(), search.pattern, search.pattern + std::strlen(search.pattern));
    bytes.insert(bytes.end(), search.text, search.text + std::strlen(search.text));
    seeds.emplace_back("search-" + std::to_string(seeds.size()), std::move(bytes));
  }
  return seeds;
}

}  // namespace weft::fuzz
