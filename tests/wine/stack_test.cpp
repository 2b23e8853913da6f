// The library's stack use does not grow with its input: a host thread with a small stack (256 KB) can search and
// paint a row of 1 MB and a text of 100,000 rows, and compile a pattern of 10,000 items. Wine may reserve more than
// a thread asks for, so the test also measures the depth reached: it fills the stack below its own frame with a
// pattern before the work and looks for the deepest byte the work overwrote.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "dll_host.h"

namespace {

constexpr size_t kThreadStack = 256 * 1024;
// The painted stretch starts below the frame of the painting function itself
// and leaves room above the stack's end for Wine's thread start.
constexpr size_t kSkipped = 4 * 1024;
constexpr size_t kPainted = kThreadStack - 24 * 1024;
constexpr unsigned char kPaint = 0xA5;

struct Work {
  std::string longRow, manyRows, longPattern;
  size_t deepest = 0;  // bytes of painted stack the work overwrote
};

// Paints the stack below this frame; the pages are touched from the top
// down, as the guard page that commits them expects.
__attribute__((noinline)) void PaintStack(volatile unsigned char* top) {
  for (size_t offset = kSkipped; offset <= kPainted; ++offset) top[-static_cast<ptrdiff_t>(offset)] = kPaint;
}

__attribute__((noinline)) size_t DeepestUse(volatile unsigned char* top) {
  size_t untouched = 0;
  while (untouched < kPainted - kSkipped && top[-static_cast<ptrdiff_t>(kPainted - untouched)] == kPaint) ++untouched;
  return kPainted - untouched;
}

void Search(const std::string& text, const char* pattern, int32_t regularExpression) {
  int32_t length = 0;
  const auto size = static_cast<int32_t>(text.size());
  host::Call("FindPattern", text.c_str(), size, pattern, &length, 1, regularExpression, 1, 1);
  host::Call("FindPattern", text.c_str(), size, pattern, &length, size, regularExpression, 0, 0);
}

void ExerciseText(const std::string& text, HDC dc) {
  const int32_t handle = host::Call("CreateGrid");
  host::Call<void>("SetText", handle, text.c_str(), static_cast<int32_t>(text.size()), 0);
  const int32_t rows = host::Call("NumberOfRows", handle);
  const int32_t lastColumns = host::Call("ColumnsInRow", handle, rows);
  host::Display(handle, dc, {1, 1, lastColumns + 1, rows, 2, 1, lastColumns + 1, rows});  // all selected
  host::TRecord end(8), token(28);
  host::Call<void>("InsertString", handle, "'open\r\n\"", 2, 1, end.data(), host::kNoRecord);
  host::Call("TokenAt", handle, 1, rows, token.data());
  host::Call("IndexForPoint", handle, lastColumns + 1, rows);
  host::Call<void>("DeleteGrid", handle);
  Search(text, "z'", 0);
  Search(text, "b[a-z]*:.*q", 1);
  Search(text, "'.*'@$", 1);
}

DWORD WINAPI RunWork(void* context) {
  auto* work = static_cast<Work*>(context);
  volatile unsigned char top = 0;
  PaintStack(&top);
  host::TPaintTarget target(200, 200);
  ExerciseText(work->longRow, target.dc);
  ExerciseText(work->manyRows, target.dc);
  Search(work->manyRows.substr(0, 2000), work->longPattern.c_str(), 1);
  work->deepest = DeepestUse(&top);
  return 0;
}

TEST(DllStack, LongRowsManyRowsAndLongPatternsFitASmallStack) {
  Work work;
  while (work.longRow.size() < 1024 * 1024) work.longRow += "foo bar: 12 'str' #(1 $a) \"c\" ";
  for (int row = 0; row < 100000; ++row) work.manyRows += row % 7 ? "  ^self at: 1 put: 'x'\r\n" : "\"a\r\n";
  for (int item = 0; item < 2500; ++item) work.longPattern += "a*b?c.";
  HANDLE thread = CreateThread(nullptr, kThreadStack, RunWork, &work, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  ASSERT_NE(thread, nullptr);
  ASSERT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
  DWORD code = 1;
  GetExitCodeThread(thread, &code);
  CloseHandle(thread);
  EXPECT_EQ(code, 0u);
  EXPECT_LT(work.deepest, kPainted) << "the work reached the end of the painted stack";
  std::printf("deepest stack use: %zu bytes of %zu\n", work.deepest, kThreadStack);
}

}  // namespace
