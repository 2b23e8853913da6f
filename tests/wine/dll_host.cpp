#include "dll_host.h"

namespace host {

namespace {

std::vector<std::string>* capturing = nullptr;

LONG CALLBACK CaptureDebugString(EXCEPTION_POINTERS* info) {
  const EXCEPTION_RECORD* record = info->ExceptionRecord;
  if (record->ExceptionCode != DBG_PRINTEXCEPTION_C || capturing == nullptr) return EXCEPTION_CONTINUE_SEARCH;
  const size_t length = static_cast<size_t>(record->ExceptionInformation[0]);
  const char* text = reinterpret_cast<const char*>(record->ExceptionInformation[1]);
  capturing->emplace_back(text, length > 0 ? length - 1 : 0);
  return EXCEPTION_CONTINUE_EXECUTION;
}

}  // namespace

HMODULE Library() {
  static HMODULE module = LoadLibraryA("weftcore.dll");
  return module;
}

std::vector<std::string> DebugMessagesDuring(void (*action)(void*), void* context) {
  std::vector<std::string> messages;
  capturing = &messages;
  PVOID handler = AddVectoredExceptionHandler(1, CaptureDebugString);
  action(context);
  RemoveVectoredExceptionHandler(handler);
  capturing = nullptr;
  return messages;
}

PaintTarget::PaintTarget(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  dc = CreateCompatibleDC(nullptr);
  bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&pixels), nullptr, 0);
  SelectObject(dc, bitmap);
}

PaintTarget::~PaintTarget() {
  DeleteDC(dc);
  DeleteObject(bitmap);
}

void Display(int32_t handle, HDC dc, std::array<int32_t, 8> points) {
  Record record(48);
  std::memcpy(record.data(), &dc, sizeof dc);
  for (size_t i = 0; i < points.size(); ++i) record.Set(4 + 4 * i, points[i]);
  Call<void>("Display", handle, record.data());
}

Record Configuration(int32_t tabWidth) {
  Record record(164);
  record.Set(0, tabWidth);
  for (int style = 0; style < 8; ++style) {
    const size_t base = 4 + 20 * static_cast<size_t>(style);
    record.Set(base + 0, style == 4 ? 1 : 0);
    record.Set(base + 4, 0x00000010 * (style + 1));
    record.Set(base + 8, 0x00FFFFFF - style);
  }
  return record;
}

}  // namespace host
