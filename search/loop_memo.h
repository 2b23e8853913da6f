// One bit per (loop item, position): the loop states the backtracker has
// explored. Positions come in blocks allocated when first touched, so a search
// that ends early pays for the stretch it touched, not for the whole text.
// A block that cannot be allocated leaves its bits unset: the backtracker then
// explores those states again, still correctly, only not in bounded time.
#ifndef WEFT_SEARCH_LOOP_MEMO_H_
#define WEFT_SEARCH_LOOP_MEMO_H_

#include <cstdint>
#include <vector>

namespace weft {

class TLoopMemo {
 public:
  // Covers positions lowest..highest of `loops` loop items.
  TLoopMemo(int32_t loops, int32_t lowest, int32_t highest);
  ~TLoopMemo();
  TLoopMemo(const TLoopMemo&) = delete;
  TLoopMemo& operator=(const TLoopMemo&) = delete;

  // The memory that touching every position would take.
  static uint64_t WorstCaseBytes(int32_t loops, int32_t lowest, int32_t highest);

  bool Test(int32_t loop, int32_t pos) const {
    const uint32_t offset = static_cast<uint32_t>(pos - lowest_);
    const uint64_t* block = blocks_[offset >> kBlockShift];
    return block != nullptr && ((block[WordIndex(loop, offset)] >> (offset & 63)) & 1);
  }

  void Set(int32_t loop, int32_t pos) {
    const uint32_t offset = static_cast<uint32_t>(pos - lowest_);
    uint64_t* block = blocks_[offset >> kBlockShift];
    if (block == nullptr) block = Allocate(offset >> kBlockShift);
    if (block == nullptr) return;
    block[WordIndex(loop, offset)] |= uint64_t{1} << (offset & 63);
  }

 private:
  static constexpr int kBlockShift = 12;
  static constexpr uint32_t kWordsPerLoop = (uint32_t{1} << kBlockShift) / 64;

  static uint32_t WordIndex(int32_t loop, uint32_t offset) {
    return static_cast<uint32_t>(loop) * kWordsPerLoop + ((offset >> 6) & (kWordsPerLoop - 1));
  }
  uint64_t* Allocate(uint32_t index);

  int32_t loops_;
  int32_t lowest_;
  std::vector<uint64_t*> blocks_;
};

}  // namespace weft

#endif  // WEFT_SEARCH_LOOP_MEMO_H_
