#include "tools/weftrender/picture.h"

#include <vector>

#include "stb_image_write.h"

namespace weftrender {

TPicture::~TPicture() {
  if (dc_ != nullptr) {
    SelectObject(dc_, previousBitmap_);
    DeleteDC(dc_);
  }
  if (bitmap_ != nullptr) DeleteObject(bitmap_);
}

bool TPicture::Create(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  dc_ = CreateCompatibleDC(nullptr);
  if (dc_ == nullptr) return false;
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap_ == nullptr) return false;
  previousBitmap_ = SelectObject(dc_, bitmap_);
  pixels_ = static_cast<uint32_t*>(bits);
  width_ = width;
  height_ = height;
  return true;
}

void TPicture::Fill(const RECT& rect, COLORREF color) {
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(dc_, &rect, brush);
  DeleteObject(brush);
}

bool TPicture::WritePng(const std::string& path, std::string& error) const {
  GdiFlush();
  std::vector<unsigned char> rgb(static_cast<size_t>(width_) * static_cast<size_t>(height_) * 3);
  for (size_t i = 0; i * 3 < rgb.size(); ++i) {
    rgb[3 * i] = static_cast<unsigned char>(pixels_[i] >> 16);
    rgb[3 * i + 1] = static_cast<unsigned char>(pixels_[i] >> 8);
    rgb[3 * i + 2] = static_cast<unsigned char>(pixels_[i]);
  }
  if (stbi_write_png(path.c_str(), width_, height_, 3, rgb.data(), width_ * 3) == 0) {
    error = path + ": cannot write the picture";
    return false;
  }
  return true;
}

}  // namespace weftrender
