// Loads weftcore.dll as the host does and hands out its exports as stdcall
// function pointers. Records are built as raw bytes at their documented
// offsets, never through the library's own header.
#ifndef WEFT_TESTS_WINE_DLL_HOST_H_
#define WEFT_TESTS_WINE_DLL_HOST_H_

#include <windows.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace host {

HMODULE Library();

template <typename Function>
Function Export(const char* name) {
  FARPROC address = GetProcAddress(Library(), name);
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
}

// Calls the export `name` as a stdcall function of the argument types given:
// pass int32_t and pointers only, every argument 32 bits wide as in the host
// (kNoRecord, not nullptr, whose value need not be passed at all).
inline void* const kNoRecord = nullptr;

template <typename Result = int32_t, typename... Args>
Result Call(const char* name, Args... args) {
  return Export<Result(__stdcall*)(Args...)>(name)(args...);
}

// A record of 32-bit little-endian fields.
class Record {
 public:
  explicit Record(size_t bytes) : bytes_(bytes, 0) {}
  void Set(size_t offset, int32_t value) { std::memcpy(&bytes_[offset], &value, 4); }
  int32_t Get(size_t offset) const {
    int32_t value;
    std::memcpy(&value, &bytes_[offset], 4);
    return value;
  }
  void* data() { return bytes_.data(); }
  const uint8_t* bytes() const { return bytes_.data(); }

 private:
  std::vector<uint8_t> bytes_;
};

// A memory device context painting into a top-down 32-bit DIB section of
// width x height pixels (0x00RRGGBB each).
struct PaintTarget {
  PaintTarget(int width, int height);
  ~PaintTarget();
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  uint32_t* pixels = nullptr;
};

// Calls Display with a record of the device context and the 1-based points
// (column, row) of the stretch's start and end and of the selection's start
// and end (zeros: no selection).
void Display(int32_t handle, HDC dc, std::array<int32_t, 8> points);

// The debugger messages the library sent while `action` ran.
std::vector<std::string> DebugMessagesDuring(void (*action)(void*), void* context);

// A Configuration record: tab width and eight styles of (font, fore, back,
// use-default-fore, use-default-back).
Record Configuration(int32_t tabWidth);

}  // namespace host

#endif  // WEFT_TESTS_WINE_DLL_HOST_H_
