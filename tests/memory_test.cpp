// A host that opens, edits and closes texts for a whole working day must not
// grow: after any number of create / set text / edit / delete cycles the
// library holds what it held before them (LeakSanitizer, on in the native
// preset, also reports single leaked blocks). Painting and fonts stay out of
// the cycle: off Windows they go to a stand-in that records every call.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <thread>

#include "weftcore.h"

#if defined(__SANITIZE_ADDRESS__)
// AddressSanitizer's allocator answers for every block; g++ ships no header for it.
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr size_t kAllocatorSlack = 0;
size_t BytesHeld() { return __sanitizer_get_current_allocated_bytes(); }
#else
// glibc's own bookkeeping moves by a few dozen bytes with each thread that
// ends; a leak of one block per cycle would be hundreds of kilobytes.
constexpr size_t kAllocatorSlack = 4096;
size_t BytesHeld() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}
#endif

void OneCycle(std::mt19937& random) {
  static const char* const pieces[] = {"self ", "foo: ", "#bar ", "'a string' ", "\"a comment\" ", "$c ",
                                       "12 ", "3.5e2 ", "[:x | x] ", "^nil", "\t", "\r\n", "\n"};
  std::string text;
  for (int row = 1 + static_cast<int>(random() % 60); row > 0; --row, text += "\r\n") {
    for (int i = static_cast<int>(random() % 12); i > 0; --i) text += pieces[random() % std::size(pieces)];
  }
  const int32_t handle = CreateGrid();
  ASSERT_GE(handle, 0);
  SetText(handle, text.c_str(), static_cast<int32_t>(text.size()), static_cast<int32_t>(random() % 2));
  WeftView view{};
  WeftPoint end{};
  const int32_t rows = NumberOfRows(handle);
  for (int edit = 0; edit < 4; ++edit) {
    const int32_t row = 1 + static_cast<int32_t>(random() % static_cast<uint32_t>(rows));
    const int32_t column = 1 + static_cast<int32_t>(random() % 20);
    InsertCell(handle, 'x', column, row, &view);
    InsertString(handle, "'open\r\n[ :y |", column, row, &end, &view);
    DeleteSection(handle, column, row, column + 3, row + 1, &view);
  }
  WeftTokenRecord token{};
  RewindTokens(handle);
  for (int i = 0; i < 50 && NextToken(handle, &token) >= 0; ++i) {
  }
  TokenAt(handle, 2, 2, &token);
  char buffer[128];
  Text(handle, buffer, sizeof buffer, 1);
  DeleteGrid(handle);
}

// glibc keeps blocks freed by a thread in a cache of that thread, which its
// statistics count as in use, and gives the cache back when the thread ends:
// the cycles run on threads of their own, so only what the library holds is
// counted. The first cycle makes the grid table and the first allocations.
TEST(Memory, TenThousandCyclesGiveBackWhatTheyTook) {
  WeftConfiguration configuration{};
  configuration.tabWidth = 4;
  ASSERT_EQ(SetConfiguration(&configuration), 1);
  SetFont("Courier New", 10);
  AddKeyword("self");
  std::mt19937 random(7);
  std::thread([&] { OneCycle(random); }).join();
  const size_t before = BytesHeld();
  std::thread([&] {
    for (int cycle = 0; cycle < 10000; ++cycle) OneCycle(random);
  }).join();
  const size_t after = BytesHeld();
  EXPECT_LE(after, before + kAllocatorSlack);
  EXPECT_LE(before, after + kAllocatorSlack);
}

}  // namespace
