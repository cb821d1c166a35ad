// Shared types of the converter: the fixed capacities, the point store that
// holds one data file's point lines, and the block table that cuts them into
// pieces of line.
#pragma once

#include <cstdint>
#include <string_view>

namespace linechain {

/// Entries of datlist.txt that one run converts at most.
inline constexpr int kEntries = 405;
/// Lines at the top of every data file that are read and ignored.
inline constexpr int kSkippedLines = 10;
/// Characters one line read takes at most (line end included); a longer line
/// arrives as several pieces.
inline constexpr int kLinePiece = 255;
/// Point slots in the point store.
inline constexpr int kMaxPoints = 4685;
/// Bytes of one point slot: a point line of at most 79 characters (its line
/// end included) and a terminator.
inline constexpr int kSlotSize = 80;
inline constexpr int kMaxPointLine = kSlotSize - 1;
/// Blocks the block table holds.
inline constexpr int kMaxBlocks = 650;

/// Integer name of a distinct point text within one data file: two points are
/// equal exactly when their ids are equal.
using PointId = int32_t;

/// The point lines of the current data file in file order, each exactly as
/// read with its single LF line end, NUL bytes included.
class PointStore {
 public:
  /// Forgets every point; called before each data file.
  void clear();
  /// Appends a point line of at most kMaxPointLine bytes and gives it an id.
  /// Invariant: size() < kMaxPoints before the call.
  void add(std::string_view line);

  int size() const { return size_; }
  std::string_view text(int slot) const {
    return {slots_[slot], static_cast<size_t>(len_[slot])};
  }
  PointId id(int slot) const { return id_[slot]; }
  /// True when the text's only LF is its last byte, as with every whole line
  /// the reader stores; such a text is written without searching it.
  bool one_line(int slot) const { return one_line_[slot]; }
  /// Number of distinct point texts so far; ids run from 0 to this - 1.
  int distinct() const { return distinct_; }

 private:
  static constexpr int kHashSlots = 16384;  // a power of two, > 3 * kMaxPoints
  static_assert(kHashSlots > 3 * kMaxPoints);

  /// The id of `line`, whose text hashes to `h`, stored in `slot`.
  PointId intern(std::string_view line, int slot, uint32_t h);

  int size_ = 0;
  int distinct_ = 0;
  char slots_[kMaxPoints][kSlotSize];
  uint8_t len_[kMaxPoints];
  bool one_line_[kMaxPoints];
  PointId id_[kMaxPoints];
  /// Slot of the first point with each id.
  int32_t first_slot_[kMaxPoints];
  /// Open-addressing table of ids + 1 (0 = empty), probed by text hash.
  int32_t table_[kHashSlots];
  /// Hash of each id's text, to skip most text compares on a probe.
  uint32_t hash_[kMaxPoints];
};

/// One data file's blocks: block b is the points nstart[b] to
/// nstart[b] + ndata[b] - 1 of the point store.
struct BlockTable {
  int32_t nstart[kMaxBlocks];
  int32_t ndata[kMaxBlocks];
  /// 1 = taken (a duplicate, or already in a chain), 0 = free.
  int32_t flag[kMaxBlocks];
  /// For a block marked as a duplicate, the earlier block it repeats.
  int32_t dupof[kMaxBlocks];
  /// Blocks in play.
  int32_t nblock = 0;
  /// Blocks left after duplicate removal.
  int32_t ntotal = 0;

  /// Moves the `nstart` and `ndata` of the blocks 0 to n - 1 that `keep`
  /// accepts to the front, in their order; returns how many were kept.
  template <typename Keep>
  int32_t compact(int32_t n, Keep keep) {
    int32_t left = 0;
    for (int32_t b = 0; b < n; ++b) {
      if (!keep(b)) continue;
      nstart[left] = nstart[b];
      ndata[left] = ndata[b];
      ++left;
    }
    return left;
  }

  PointId first_id(const PointStore& s, int b) const { return s.id(nstart[b]); }
  PointId last_id(const PointStore& s, int b) const {
    return s.id(nstart[b] + ndata[b] - 1);
  }
};

}  // namespace linechain
