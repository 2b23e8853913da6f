#include "tools/weftrender/source_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace weftrender {
namespace {

struct TFileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// A text file may hold tabs, line breaks and form feeds; anything else below
// a space, in more than one byte of a hundred of its first 64 KB, or a NUL
// anywhere, marks a binary file.
bool LooksBinary(const std::string& text) {
  if (text.find('\0') != std::string::npos) return true;
  const size_t sample = text.size() < 65536 ? text.size() : 65536;
  size_t controls = 0;
  for (size_t i = 0; i < sample; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < ' ' && c != '\t' && c != '\n' && c != '\r' && c != '\f') ++controls;
  }
  return controls * 100 > sample;
}

}  // namespace

bool ReadSource(const std::string& path, std::string& text, std::string& error) {
  errno = 0;
  std::unique_ptr<std::FILE, TFileCloser> file(std::fopen(path.c_str(), "rb"));
  if (file == nullptr) {
    error =
        path + (errno == ENOENT ? ": no such file" : ": cannot open it (" + std::string(std::strerror(errno)) + ")");
    return false;
  }
  long size = -1;
  if (std::fseek(file.get(), 0, SEEK_END) == 0) size = std::ftell(file.get());
  if (size < 0 || std::fseek(file.get(), 0, SEEK_SET) != 0) {
    error = path + ": cannot read it (not a regular file)";
    return false;
  }
  if (size == 0) {
    error = path + ": the file is empty";
    return false;
  }
  if (size > kMaxSourceBytes) {
    error = path + ": too large (" + std::to_string(size) + " bytes; at most " + std::to_string(kMaxSourceBytes) +
            " are rendered)";
    return false;
  }
  text.resize(static_cast<size_t>(size));
  if (std::fread(text.data(), 1, text.size(), file.get()) != text.size()) {
    error = path + ": cannot read it (" + std::string(std::strerror(errno)) + ")";
    return false;
  }
  if (LooksBinary(text)) {
    error = path + ": a binary file, not Smalltalk source";
    return false;
  }
  return true;
}

}  // namespace weftrender
