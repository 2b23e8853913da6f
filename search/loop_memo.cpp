#include "search/loop_memo.h"

#include <cstdlib>

namespace weft {
namespace {

uint64_t BlockCount(int32_t lowest, int32_t highest, int shift) {
  const uint64_t positions = static_cast<uint64_t>(highest - lowest) + 1;
  return ((positions - 1) >> shift) + 1;
}

}  // namespace

TLoopMemo::TLoopMemo(int32_t loops, int32_t lowest, int32_t highest)
    : loops_(loops), lowest_(lowest), blocks_(static_cast<size_t>(BlockCount(lowest, highest, kBlockShift)), nullptr) {}

TLoopMemo::~TLoopMemo() {
  for (uint64_t* block : blocks_) std::free(block);
}

uint64_t TLoopMemo::WorstCaseBytes(int32_t loops, int32_t lowest, int32_t highest) {
  return BlockCount(lowest, highest, kBlockShift) * static_cast<uint64_t>(loops) * kWordsPerLoop * sizeof(uint64_t);
}

uint64_t* TLoopMemo::Allocate(uint32_t index) {
  void* block = std::calloc(static_cast<size_t>(loops_) * kWordsPerLoop, sizeof(uint64_t));
  blocks_[index] = static_cast<uint64_t*>(block);
  return blocks_[index];
}

}  // namespace weft
