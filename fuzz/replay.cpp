#include "fuzz/replay.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace weft::fuzz {

namespace {

class TPrintingObserver : public TScriptObserver {
 public:
  explicit TPrintingObserver(std::FILE* out) : out_(out) {}
  void Transcribe(const std::string& line) override { std::fprintf(out_, "%s\n", line.c_str()); }
  void AfterCall(const std::vector<int32_t>&, const std::vector<int32_t>&) override {}
  void Fail(const std::string& what) override {
    std::fprintf(out_, "FAIL: %s\n", what.c_str());
    failed_ = true;
  }
  bool failed() const { return failed_; }

 private:
  std::FILE* out_;
  bool failed_ = false;
};

std::vector<std::filesystem::path> Inputs(int argc, char** argv) {
  std::vector<std::filesystem::path> inputs;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path path = argv[i];
    if (!std::filesystem::is_directory(path)) {
      inputs.push_back(path);
      continue;
    }
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(path)) {
      if (entry.is_regular_file()) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    inputs.insert(inputs.end(), files.begin(), files.end());
  }
  return inputs;
}

}  // namespace

int ReplayFiles(int argc, char** argv, const TExports& exports, const TScriptOptions& options, std::FILE* out) {
  TPrintingObserver observer(out);
  bool unreadable = false;
  for (const std::filesystem::path& input : Inputs(argc, argv)) {
    std::ifstream in(input, std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::fprintf(out, "== %s\n", input.filename().string().c_str());
    if (!in.good() && !in.eof()) {
      std::fprintf(out, "FAIL: cannot read %s\n", input.string().c_str());
      unreadable = true;
      continue;
    }
    RunCallScript(bytes.data(), bytes.size(), exports, options, observer);
  }
  std::fflush(out);
  return observer.failed() || unreadable ? 1 : 0;
}

}  // namespace weft::fuzz
