// Loads weftcore.dll as the host does and calls its exports as stdcall functions found with GetProcAddress. Records
// are built as raw bytes at their documented offsets, never through the library's own header.
#ifndef WEFT_TESTS_WINE_DLL_HOST_H_
#define WEFT_TESTS_WINE_DLL_HOST_H_

#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace host {

inline HMODULE Library() {
  static HMODULE module = LoadLibraryA("weftcore.dll");
  return module;
}

// Calls the export `name` with the argument types given: pass int32_t and pointers only, every argument 32 bits wide
// as in the host (kNoRecord, not nullptr, whose value need not be passed at all).
inline void* const kNoRecord = nullptr;

template <typename Result = int32_t, typename... Args>
Result Call(const char* name, Args... args) {
  const auto address = reinterpret_cast<void (*)()>(GetProcAddress(Library(), name));
  return reinterpret_cast<Result(__stdcall*)(Args...)>(address)(args...);
}

// A record of 32-bit little-endian fields.
class TRecord {
 public:
  explicit TRecord(size_t bytes) : bytes_(bytes, 0) {}
  void Set(size_t offset, int32_t value) { std::memcpy(&bytes_[offset], &value, 4); }
  void SetPointer(size_t offset, const void* value) { std::memcpy(&bytes_[offset], &value, sizeof value); }
  int32_t Get(size_t offset) const {
    int32_t value;
    std::memcpy(&value, &bytes_[offset], 4);
    return value;
  }
  // The point or extent in the two fields from `offset`.
  std::pair<int32_t, int32_t> Pair(size_t offset = 0) const { return {Get(offset), Get(offset + 4)}; }
  void* data() { return bytes_.data(); }
  const uint8_t* bytes() const { return bytes_.data(); }

 private:
  std::vector<uint8_t> bytes_;
};

// The backgrounds of Configuration's styles: white, but pale blue for white space (style 2) and yellow for comments
// (style 6).
constexpr COLORREF kTextBack = RGB(255, 255, 255);
constexpr COLORREF kSpaceBack = RGB(200, 220, 240);
constexpr COLORREF kCommentBack = RGB(250, 250, 0);

// A Configuration record: tab width 4 and eight styles of (font, fore, back, use-default-fore, use-default-back).
inline TRecord Configuration() {
  TRecord record(164);
  record.Set(0, 4);
  for (size_t style = 0; style < 8; ++style) {
    record.Set(4 + 20 * style, style == 4 ? 1 : 0);
    record.Set(8 + 20 * style, static_cast<int32_t>(0x00000010 * (style + 1)));
    record.Set(12 + 20 * style, static_cast<int32_t>(style == 2 ? kSpaceBack : style == 6 ? kCommentBack : kTextBack));
  }
  return record;
}

// A grid made after SetConfiguration(Configuration()) and SetFont("Courier New", 10).
class GridTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TRecord configuration = Configuration();
    ASSERT_EQ(Call("SetConfiguration", configuration.data()), 1);
    Call<void>("SetFont", "Courier New", 10);
    handle = Call("CreateGrid");
  }
  void TearDown() override { Call<void>("DeleteGrid", handle); }
  int32_t handle = -1;
};

// A memory device context painting into a top-down 32-bit DIB section of width x height pixels (0x00RRGGBB each).
struct TPaintTarget {
  TPaintTarget(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    dc = CreateCompatibleDC(nullptr);
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&pixels), nullptr, 0);
    SelectObject(dc, bitmap);
  }
  ~TPaintTarget() {
    DeleteDC(dc);
    DeleteObject(bitmap);
  }
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  uint32_t* pixels = nullptr;
};

// Calls Display with a record of the device context and the 1-based points (column, row) of the stretch's start and
// end and of the selection's start and end (zeros: no selection).
inline void Display(int32_t handle, HDC dc, std::array<int32_t, 8> points) {
  TRecord record(48);
  record.SetPointer(0, dc);
  for (size_t i = 0; i < points.size(); ++i) record.Set(4 + 4 * i, points[i]);
  Call<void>("Display", handle, record.data());
}

// The debugger messages the library sent while `action` ran: each one
// raises DBG_PRINTEXCEPTION_C, which a vectored handler catches first.
inline std::vector<std::string> DebugMessagesDuring(const std::function<void()>& action) {
  static std::vector<std::string> messages;
  messages.clear();
  PVOID handler = AddVectoredExceptionHandler(1, [](EXCEPTION_POINTERS* info) __attribute__((stdcall)) -> LONG {
    const EXCEPTION_RECORD* record = info->ExceptionRecord;
    if (record->ExceptionCode != DBG_PRINTEXCEPTION_C) return EXCEPTION_CONTINUE_SEARCH;
    const auto length = static_cast<size_t>(record->ExceptionInformation[0]);
    messages.emplace_back(reinterpret_cast<const char*>(record->ExceptionInformation[1]), length > 0 ? length - 1 : 0);
    return EXCEPTION_CONTINUE_EXECUTION;
  });
  action();
  RemoveVectoredExceptionHandler(handler);
  return messages;
}

}  // namespace host

#endif  // WEFT_TESTS_WINE_DLL_HOST_H_
