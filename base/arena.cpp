#include "base/arena.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace weft {

namespace {

constexpr size_t kFirstChunkBytes = size_t{64} << 10;
constexpr size_t kLargestGrowthBytes = size_t{256} << 10;

[[noreturn]] void DieForMemory(size_t bytes) {
  std::fprintf(stderr, "Failed to allocate memory (%zu)\n", bytes);
  std::abort();
}

}  // namespace

void* AllocateOrDie(size_t bytes) {
  void* block = std::malloc(bytes == 0 ? 1 : bytes);
  if (block == nullptr) DieForMemory(bytes);
  return block;
}

void* ReallocateOrDie(void* block, size_t bytes) {
  void* grown = std::realloc(block, bytes == 0 ? 1 : bytes);
  if (grown == nullptr) DieForMemory(bytes);
  return grown;
}

// A new chunk is an eighth of all held before it, from 64 KB up to 256 KB
// (or the piece, if larger): a text of any size takes few chunks, and the
// last one, which is held whole however little of it is used, stays small.
void TArena::NextChunk(size_t bytes) {
  filled_ += used_;
  if (inUse_ == chunks_.size() || chunks_[inUse_].size < bytes) {
    FreeChunksFrom(inUse_);
    const size_t size = std::max({bytes, kFirstChunkBytes, std::min(held_ / 8, kLargestGrowthBytes)});
    chunks_.push_back({static_cast<char*>(AllocateOrDie(size)), size});
    held_ += size;
  }
  chunk_ = chunks_[inUse_].start;
  size_ = chunks_[inUse_].size;
  used_ = 0;
  ++inUse_;
}

void TArena::FreeChunksFrom(size_t first) {
  for (size_t i = first; i < chunks_.size(); ++i) {
    std::free(chunks_[i].start);
    held_ -= chunks_[i].size;
  }
  chunks_.resize(std::min(first, chunks_.size()));
}

void TArena::Reset() {
  FreeChunksFrom(inUse_);
  if (held_ > 2 * (filled_ + used_) + kFirstChunkBytes) FreeChunksFrom(0);
  filled_ = 0;
  inUse_ = 0;
  chunk_ = nullptr;
  size_ = 0;
  used_ = 0;
}

}  // namespace weft
