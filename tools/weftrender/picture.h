// A top-down 32-bit DIB section selected into its own memory device
// context: the surface weftrender lets Display paint into, and the pixels it
// then writes out as a PNG file.
#ifndef WEFT_TOOLS_WEFTRENDER_PICTURE_H_
#define WEFT_TOOLS_WEFTRENDER_PICTURE_H_

#include <windows.h>

#include <cstdint>
#include <string>

namespace weftrender {

class TPicture {
 public:
  TPicture() = default;
  TPicture(const TPicture&) = delete;
  TPicture& operator=(const TPicture&) = delete;
  ~TPicture();

  // Makes a picture of `width` by `height` pixels, both at least 1; false if
  // GDI cannot.
  bool Create(int width, int height);

  HDC dc() const { return dc_; }
  int width() const { return width_; }
  int height() const { return height_; }

  void Fill(const RECT& rect, COLORREF color);

  // Writes the picture as an 8-bit RGB PNG file; false with `error` set if
  // the file cannot be written.
  bool WritePng(const std::string& path, std::string& error) const;

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previousBitmap_ = nullptr;
  uint32_t* pixels_ = nullptr;  // 0x00RRGGBB, rows top to bottom
  int width_ = 0;
  int height_ = 0;
};

}  // namespace weftrender

#endif  // WEFT_TOOLS_WEFTRENDER_PICTURE_H_
