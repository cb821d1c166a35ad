// Chain building without walking every free block on every attempt.
//
// An attempt takes the lowest-numbered free block that passes any of the four
// tests (tail = its first point, head = its last point, head = its first
// point, tail = its last point), and on that block the first test in this
// order that passes. Only blocks whose first or last point is the head or the
// tail can pass, so lists of the blocks that start and that end at each point
// id, in table order, give the candidates; the lowest free entry of the four
// lists in question is the block the attempt takes. Taken blocks are skipped
// lazily: each list entry is passed over at most once per data file.
//
// A block reversed to fit is written backwards. It leaves the table in the same
// pass, so no later pass sees it again.
#include "merge/chain.h"

#include "track/track_writer.h"

namespace linechain {
namespace {

constexpr int kNone = kMaxBlocks;

/// Blocks by their end point ids, in table order.
struct EndIndex {
  /// Entries of id p are at[offset[p]] to at[offset[p + 1] - 1].
  int32_t offset[kMaxPoints + 1];
  int32_t at[kMaxBlocks];
  /// First entry of each id not yet known to be taken.
  int32_t cursor[kMaxPoints];
};

/// What chain building keeps for one data file.
struct Chains {
  Chains(const PointStore& s, BlockTable& t) : store(s), table(t) {}

  const PointStore& store;
  BlockTable& table;
  EndIndex starts, ends;
  /// The current chain, front to back: order[lo] to order[hi - 1].
  int32_t order[2 * kMaxBlocks];
  int lo = 0, hi = 0;
  bool reversed[kMaxBlocks];
  PointId head = 0, tail = 0;

  PointId first(int b) const { return table.first_id(store, b); }
  PointId last(int b) const { return table.last_id(store, b); }
};

template <typename EndOf>
void build_index(EndIndex& index, int distinct, int nblock, EndOf end_of) {
  for (int p = 0; p <= distinct; ++p) index.offset[p] = 0;
  for (int b = 0; b < nblock; ++b) ++index.offset[end_of(b) + 1];
  int32_t sum = 0;  // running total in a register, not through memory
  for (int p = 0; p < distinct; ++p) {
    sum += index.offset[p + 1];
    index.offset[p + 1] = sum;
    index.cursor[p] = index.offset[p];
  }
  for (int b = 0; b < nblock; ++b) index.at[index.cursor[end_of(b)]++] = b;
  for (int p = 0; p < distinct; ++p) index.cursor[p] = index.offset[p];
}

// The lowest-numbered free block listed under id p, or kNone.
int lowest_free(EndIndex& index, const BlockTable& table, PointId p) {
  int32_t& c = index.cursor[p];
  while (c < index.offset[p + 1] && table.flag[index.at[c]] != 0) ++c;
  return c < index.offset[p + 1] ? index.at[c] : kNone;
}

int next_block(Chains& ch) {
  int k = lowest_free(ch.starts, ch.table, ch.tail);
  int c = lowest_free(ch.ends, ch.table, ch.head);
  if (c < k) k = c;
  c = lowest_free(ch.starts, ch.table, ch.head);
  if (c < k) k = c;
  c = lowest_free(ch.ends, ch.table, ch.tail);
  return c < k ? c : k;
}

// Carries out on block k the first of the four tests that passes.
void attach(Chains& ch, int k) {
  ch.table.flag[k] = 1;
  if (ch.first(k) == ch.tail) {
    ch.tail = ch.last(k);
    ch.order[ch.hi++] = k;
  } else if (ch.last(k) == ch.head) {
    ch.head = ch.first(k);
    ch.order[--ch.lo] = k;
  } else if (ch.first(k) == ch.head) {
    ch.reversed[k] = true;
    ch.head = ch.last(k);
    ch.order[--ch.lo] = k;
  } else {
    ch.reversed[k] = true;
    ch.tail = ch.first(k);
    ch.order[ch.hi++] = k;
  }
}

void grow(Chains& ch, int seed, int nblock) {
  ch.lo = ch.hi = kMaxBlocks;
  ch.order[ch.hi++] = seed;
  ch.table.flag[seed] = 1;
  ch.head = ch.first(seed);
  ch.tail = ch.last(seed);
  for (int attempt = 1; attempt < nblock; ++attempt) {
    int k = next_block(ch);
    if (k == kNone) break;  // the remaining attempts find nothing either
    attach(ch, k);
  }
}

void write_chain(const Chains& ch, TextWriter& track) {
  for (int e = ch.lo; e < ch.hi; ++e) {
    int b = ch.order[e], start = ch.table.nstart[b], n = ch.table.ndata[b];
    if (ch.reversed[b]) {
      for (int m = n - 1; m >= 0; --m) write_point_line(track, ch.store, start + m);
    } else {
      for (int m = 0; m < n; ++m) write_point_line(track, ch.store, start + m);
    }
  }
}

Status run_passes(Chains& ch, std::string_view base, TextWriter& track, TextWriter& console) {
  BlockTable& t = ch.table;
  int32_t tracks = 0, seed = 0;
  while (t.nblock > 0) {
    while (t.flag[seed] != 0) ++seed;  // the lowest-numbered block left
    console << tracks << " REMAIN BLOCK:" << t.nblock << '\n';
    write_track_header(track, base, ++tracks);
    grow(ch, seed, t.nblock);
    int32_t ncount = ch.hi - ch.lo;
    if (ncount == 0) return fail("ncount=0 ERROR\n");
    write_chain(ch, track);
    if (track.failed()) return {};  // the driver reports it when closing
    t.nblock -= ncount;
  }
  return {};
}

// Blocks without points have no end to join: they leave the table, the
// order of the others kept.
void drop_empty_blocks(BlockTable& table) {
  table.nblock = table.ntotal =
      table.compact(table.nblock, [&](int b) { return table.ndata[b] != 0; });
}

}  // namespace

Status build_chains(const PointStore& store, BlockTable& table, std::string_view base,
                    TextWriter& track, TextWriter& console) {
  drop_empty_blocks(table);
  Chains ch{store, table};
  int n = table.nblock;
  for (int b = 0; b < n; ++b) table.flag[b] = 0, ch.reversed[b] = false;
  build_index(ch.starts, store.distinct(), n, [&](int b) { return ch.first(b); });
  build_index(ch.ends, store.distinct(), n, [&](int b) { return ch.last(b); });
  return run_passes(ch, base, track, console);
}

}  // namespace linechain
