// Tells, right to left, at which positions a match of the pattern begins.
//
// It computes for each position, from the end of the subject down, which
// suffixes of the pattern match there: one column of item count + 1 bits per
// position, each from the column to its right and the position's byte.
// Whether a match begins does not depend on the order the backtracker tries
// things in, so this is exact. Columns repeat, so each distinct column is a
// state with a table of the states each byte leads to, filled as the scan
// meets them: a position costs a table lookup once its transition is known,
// and O(items) before. At most a given number of states are kept: past that
// the tables are dropped and refilled, and when they fill again within a few
// positions a state, the rest of the scan computes each column directly. So
// the scan takes O(positions × items) steps at worst, and memory for the
// states. The backward search uses it to
// find the run of match starts nearest its start.
#ifndef WEFT_SEARCH_START_SCANNER_H_
#define WEFT_SEARCH_START_SCANNER_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "search/matcher.h"
#include "search/pattern.h"

namespace weft {

class TStartScanner {
 public:
  // `pattern` and `work` must outlive the object; `mostStates` is at least 1.
  TStartScanner(const TPattern& pattern, TSubject subject, TMatchWork& work, size_t mostStates);

  // The rightmost position p where a match begins, moved left while a match
  // also begins just before it; -1 when no match begins anywhere. At the end
  // of the subject only a pattern without consuming items matches.
  int32_t LeftEndOfLastRun();

 private:
  void ColumnAtEnd(std::vector<uint8_t>& here) const;
  void ColumnFor(unsigned char c, const std::vector<uint8_t>& right, std::vector<uint8_t>& here) const;
  // The state of `column`, made if new.
  int32_t StateOf(std::vector<uint8_t> column);
  // Positions a state that a scan must cover between two fillings of the
  // tables for them to be worth keeping.
  static constexpr size_t kPositionsPerState = 16;

  // The state a position holding `c` has when the position after it has
  // `state`, where the table does not tell yet; fills it in.
  int32_t NewTransition(int32_t state, unsigned char c);
  void DropStates();
  // LeftEndOfLastRun from `pos` down, without states, given the column of the
  // position after `pos` and the run found so far.
  int32_t FinishDirectly(int32_t pos, std::vector<uint8_t> right, int32_t found);

  const TPattern& pattern_;
  TSubject subject_;
  TMatchWork* work_;
  size_t mostStates_;
  // Per state: its column, whether a match begins there (the column's first
  // bit), and 256 transitions from next_[state * 256] on, -1 until known.
  std::vector<std::vector<uint8_t>> columns_;
  std::vector<uint8_t> matchBegins_;
  std::vector<int32_t> next_;
  std::unordered_map<std::string, int32_t> states_;  // a column's bytes: its state
};

}  // namespace weft

#endif  // WEFT_SEARCH_START_SCANNER_H_
