// Loads weftcore.dll as the host does and hands out its exports as stdcall
// function pointers. Records are built as raw bytes at their documented
// offsets, never through the library's own header.
#ifndef WEFT_TESTS_WINE_DLL_HOST_H_
#define WEFT_TESTS_WINE_DLL_HOST_H_

#include <windows.h>

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

// The debugger messages the library sent while `action` ran.
std::vector<std::string> DebugMessagesDuring(void (*action)(void*), void* context);

// A Configuration record: tab width and eight styles of (font, fore, back,
// use-default-fore, use-default-back).
Record Configuration(int32_t tabWidth);

}  // namespace host

using CreateGridFn = int32_t(__stdcall*)();
using HandleFn = int32_t(__stdcall*)(int32_t);
using DeleteGridFn = void(__stdcall*)(int32_t);
using RecordFn = void*(__stdcall*)(void*);
using SetConfigurationFn = int32_t(__stdcall*)(void*);
using SetFontFn = void(__stdcall*)(const char*, int32_t);
using OutRecordFn = void(__stdcall*)(void*);
using SetTextFn = void(__stdcall*)(int32_t, const char*, int32_t, int32_t);
using TextFn = int32_t(__stdcall*)(int32_t, char*, int32_t, int32_t);
using StringAtRowFn = int32_t(__stdcall*)(int32_t, int32_t, char*, int32_t);
using HandleRowFn = int32_t(__stdcall*)(int32_t, int32_t);
using HandleRecordFn = void(__stdcall*)(int32_t, void*);
using NextTokenFn = int32_t(__stdcall*)(int32_t, void*);
using TokenAtFn = int32_t(__stdcall*)(int32_t, int32_t, int32_t, void*);
using KeywordFn = void(__stdcall*)(const char*);
using InsertCellFn = void(__stdcall*)(int32_t, int32_t, int32_t, int32_t, const void*);
using InsertStringFn = void*(__stdcall*)(int32_t, const char*, int32_t, int32_t, void*, const void*);
using DeleteSectionFn = void(__stdcall*)(int32_t, int32_t, int32_t, int32_t, int32_t, const void*);
using TextInRectFn = int32_t(__stdcall*)(int32_t, int32_t, int32_t, int32_t, int32_t, char*, int32_t);
using DisplayFn = void(__stdcall*)(int32_t, void*);
using FindPatternFn = int32_t(__stdcall*)(const char*, int32_t, const char*, int32_t*, int32_t, int32_t, int32_t,
                                           int32_t);
using BeginsWithFn = int32_t(__stdcall*)(const char*, const char*, int32_t, int32_t);
using MatchWeightFn = int32_t(__stdcall*)(const char*, int32_t, const char*, int32_t);
using PointForIndexFn = void(__stdcall*)(int32_t, int32_t, void*);
using IndexForPointFn = int32_t(__stdcall*)(int32_t, int32_t, int32_t);

#endif  // WEFT_TESTS_WINE_DLL_HOST_H_
