// The duplicate scan. Each block gets a fingerprint of its point ids forwards
// and one backwards. Block j can repeat block i only when j's forward
// fingerprint is i's forward or backward one, so the scan for i looks up the
// blocks with those fingerprints instead of walking every later block, and
// compares point by point only those that lie before the block where the scan
// stops: the first later block that is marked or of another size. The marking
// itself follows the scan rules exactly.
#include "merge/dedup.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace linechain {
namespace {

/// Ends a list of blocks; lies past every block, so no scan reaches it.
constexpr int kEnd = kMaxBlocks;
/// Marks an unused slot of the fingerprint table.
constexpr int kEmpty = -1;

struct Fingerprints {
  uint64_t forward[kMaxBlocks];
  uint64_t backward[kMaxBlocks];
  /// The first block after b that has another size, or ntotal.
  int32_t size_end[kMaxBlocks];
  /// Blocks that share a forward fingerprint, linked in increasing order
  /// and ended by kEnd.
  int32_t next_same[kMaxBlocks];
  /// Open-addressing table of the distinct forward fingerprints; `lowest` is
  /// the first block of each one's list not yet passed by the scans (kEnd
  /// when all are), kEmpty for an unused slot.
  static constexpr int kSlots = 2048;  // a power of two, > 2 * kMaxBlocks
  static_assert(kSlots > 2 * kMaxBlocks);
  uint64_t key[kSlots];
  int32_t lowest[kSlots];
  /// Marked blocks, one bit each.
  uint64_t marked[(kMaxBlocks + 63) / 64];
};

uint64_t mix(uint64_t h, PointId id) {
  return (h ^ static_cast<uint64_t>(id + 1)) * 0x9E3779B97F4A7C15ull;
}

int slot_of(const Fingerprints& fp, uint64_t key) {
  int s = static_cast<int>((key ^ (key >> 29)) & (Fingerprints::kSlots - 1));
  while (fp.lowest[s] != kEmpty && fp.key[s] != key) s = (s + 1) & (Fingerprints::kSlots - 1);
  return s;
}

// True when block j repeats block i forwards or backwards, position by
// position over block i's points (blocks of one size only).
bool repeats(const PointStore& store, const BlockTable& table, int i, int j) {
  int n = table.ndata[i], a = table.nstart[i], b = table.nstart[j];
  bool forward = true, backward = true;
  for (int m = 0; m < n && (forward || backward); ++m) {
    forward = forward && store.id(a + m) == store.id(b + m);
    backward = backward && store.id(a + n - 1 - m) == store.id(b + m);
  }
  return forward || backward;
}

void fingerprint(const PointStore& store, const BlockTable& table, Fingerprints& fp) {
  int n = table.ntotal;
  for (int b = n - 1; b >= 0; --b)
    fp.size_end[b] = b + 1 < n && table.ndata[b + 1] == table.ndata[b] ? fp.size_end[b + 1] : b + 1;
  for (int s = 0; s < Fingerprints::kSlots; ++s) fp.lowest[s] = kEmpty;
  for (int b = n - 1; b >= 0; --b) {  // from the back, so each list is in increasing order
    // A block whose neighbours both have other sizes is compared with none:
    // no scan goes past a block of another size.
    if (fp.size_end[b] == b + 1 && (b == 0 || table.ndata[b - 1] != table.ndata[b])) continue;
    uint64_t f = 1, r = 1;
    int first = table.nstart[b], size = table.ndata[b];
    for (int m = 0; m < size; ++m) {
      f = mix(f, store.id(first + m));
      r = mix(r, store.id(first + size - 1 - m));
    }
    fp.forward[b] = f;
    fp.backward[b] = r;
    int s = slot_of(fp, f);
    fp.next_same[b] = fp.lowest[s] == kEmpty ? kEnd : fp.lowest[s];
    fp.key[s] = f;
    fp.lowest[s] = b;
  }
  std::memset(fp.marked, 0, sizeof fp.marked);
}

// The first block after i whose forward fingerprint is `key`, or kEnd. The
// scans come in increasing order of i, so the blocks passed over here are
// dropped from the list for good.
int first_after(Fingerprints& fp, uint64_t key, int i) {
  int s = slot_of(fp, key);
  if (fp.lowest[s] == kEmpty) return kEnd;
  int32_t& b = fp.lowest[s];
  while (b <= i) b = fp.next_same[b];
  return b;
}

// The first marked block after i, or `limit` when there is none before it.
int first_marked_after(const Fingerprints& fp, int i, int limit) {
  for (int w = (i + 1) / 64; w * 64 < limit; ++w) {
    uint64_t bits = fp.marked[w];
    if (w == (i + 1) / 64) bits &= ~uint64_t{0} << ((i + 1) % 64);
    if (bits != 0) {
      int b = w * 64 + std::countr_zero(bits);
      return b < limit ? b : limit;
    }
  }
  return limit;
}

// The scan for block i: stops at the first block already marked or of another
// size, and marks at most one block, the first before that one that repeats
// block i.
void scan(const PointStore& store, BlockTable& table, Fingerprints& fp, int i) {
  int stop = first_marked_after(fp, i, fp.size_end[i]);
  if (stop == i + 1) return;
  int a = first_after(fp, fp.forward[i], i);
  int b = fp.backward[i] == fp.forward[i] ? kEnd : first_after(fp, fp.backward[i], i);
  for (;;) {
    int j = a < b ? a : b;
    if (j >= stop) return;
    if (repeats(store, table, i, j)) {
      table.flag[j] = 1;
      table.dupof[j] = i;
      fp.marked[j / 64] |= uint64_t{1} << (j % 64);
      return;
    }
    if (j == a) a = fp.next_same[a];
    else b = fp.next_same[b];
  }
}

void report(const BlockTable& table, int before, int dropped, TextWriter& console) {
  console << "Tautological data deleted (" << dropped << ")\n";
  int entries = 0;
  for (int i = 0; i < before; ++i) {
    if (table.flag[i] != 1) continue;
    console << ' ' << Padded{i, 3} << "<-" << Padded{table.dupof[i], 3} << "  ";
    if (++entries % 10 == 0) console << '\n';
  }
  console << '\n';
}

// Compacts the table to the blocks not marked, reports what was dropped, and
// sets `nblock` and `ntotal` to the blocks left.
Status drop_marked(BlockTable& table, TextWriter& console) {
  int before = table.ntotal;
  int left = table.compact(before, [&](int b) { return table.flag[b] != 1; });
  if (left == 0) {
    std::string message = "Tautological Delete ERROR\n";
    for (int b = 0; b < before; ++b)
      message += "flag[" + std::to_string(b) + "]=" + std::to_string(table.flag[b]) + "\n";
    return fail(message);
  }
  if (left < before) report(table, before, before - left, console);
  table.nblock = table.ntotal = left;
  return {};
}

}  // namespace

Status remove_duplicates(const PointStore& store, BlockTable& table, TextWriter& console) {
  Fingerprints fp;
  for (int b = 0; b < table.ntotal; ++b) table.flag[b] = 0;
  fingerprint(store, table, fp);
  for (int i = 0; i + 1 < table.ntotal; ++i) scan(store, table, fp, i);
  return drop_marked(table, console);
}

}  // namespace linechain
