// TArena: storage handed out in pieces and taken back all at once.
//
// A grid keeps the rows and lists of a whole text in arenas, so that setting
// a text costs a few large allocations instead of several per row, and
// replacing it a few frees. A piece is lent to one row or list, which may
// write it but never frees it, and which moves to a heap block of its own
// when it must grow. Pieces stay valid until Reset or the arena's end.
//
// Reset keeps the chunks the pieces since the last Reset came from, for the
// next text, and frees the others: fresh memory costs a page fault per page
// when first written, which would cost more than the filling itself. When
// those pieces took less than half of the chunks they came from (a much
// smaller text followed a large one), it frees every chunk, so an arena holds
// at most about twice what its last text needed.
#ifndef WEFT_BASE_ARENA_H_
#define WEFT_BASE_ARENA_H_

#include <cassert>
#include <cstddef>
#include <vector>

namespace weft {

class TArena {
 public:
  TArena() = default;
  TArena(const TArena&) = delete;
  TArena& operator=(const TArena&) = delete;
  ~TArena() { FreeChunksFrom(0); }

  // `bytes` (at least 1) of storage at a multiple of `alignment`, a power
  // of two of at most 8 (chunks come from malloc, which aligns at least so).
  void* Allocate(size_t bytes, size_t alignment) {
    assert(bytes > 0 && alignment <= 8 && (alignment & (alignment - 1)) == 0);
    size_t at = (used_ + alignment - 1) & ~(alignment - 1);
    if (at + bytes > size_) {
      NextChunk(bytes);
      at = 0;
    }
    used_ = at + bytes;
    return chunk_ + at;
  }
  // Makes the next `bytes` (allocated with alignment 1) fit in one chunk.
  void Reserve(size_t bytes) {
    if (used_ + bytes > size_) NextChunk(bytes);
  }
  // Takes back every piece.
  void Reset();

  // Bytes of heap the arena holds.
  size_t HeapBytes() const { return held_; }

 private:
  struct TChunk {
    char* start;
    size_t size;
  };

  // Moves on to a chunk of at least `bytes`: the next kept one if it is big
  // enough, else a new one.
  void NextChunk(size_t bytes);
  void FreeChunksFrom(size_t first);

  std::vector<TChunk> chunks_;
  size_t inUse_ = 0;       // chunks that pieces since the last Reset came from
  char* chunk_ = nullptr;  // the last of them
  size_t size_ = 0;        // of chunk_
  size_t used_ = 0;        // of chunk_
  size_t held_ = 0;        // of all chunks
  size_t filled_ = 0;      // of the chunks before chunk_, since the last Reset
};

// Allocates `bytes` or stops the process with "Failed to allocate memory
// (N)" on the standard error stream: the library has no way to report it.
void* AllocateOrDie(size_t bytes);
void* ReallocateOrDie(void* block, size_t bytes);

// A piece of `arena`, or when it is null a heap block the caller frees.
inline void* AllocateFrom(TArena* arena, size_t bytes, size_t alignment) {
  return arena != nullptr ? arena->Allocate(bytes, alignment) : AllocateOrDie(bytes);
}

}  // namespace weft

#endif  // WEFT_BASE_ARENA_H_
