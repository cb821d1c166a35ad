// The duplicate scan. Each block gets a fingerprint of its point ids forwards
// and one backwards, so a later block of the same size is compared point by
// point only when a fingerprint says it may repeat; the marking itself follows
// the scan rules exactly.
#include "merge/dedup.h"

#include <cstdint>

namespace linechain {
namespace {

struct Fingerprints {
  uint64_t forward[kMaxBlocks];
  uint64_t backward[kMaxBlocks];
};

uint64_t mix(uint64_t h, PointId id) {
  return (h ^ static_cast<uint64_t>(id + 1)) * 0x9E3779B97F4A7C15ull;
}

void fingerprint(const PointStore& store, const BlockTable& table, Fingerprints& fp) {
  for (int b = 0; b < table.ntotal; ++b) {
    uint64_t f = 1, r = 1;
    int first = table.nstart[b], n = table.ndata[b];
    for (int m = 0; m < n; ++m) {
      f = mix(f, store.id(first + m));
      r = mix(r, store.id(first + n - 1 - m));
    }
    fp.forward[b] = f;
    fp.backward[b] = r;
  }
}

// The scan for block i: stops at the first block already marked or of another
// size, and marks at most one block.
void scan(const PointStore& store, BlockTable& table, const Fingerprints& fp, int i) {
  for (int j = i + 1; j < table.ntotal; ++j) {
    if (table.flag[j] == 1 || table.ndata[j] != table.ndata[i]) return;
    bool may = fp.forward[j] == fp.forward[i] || fp.forward[j] == fp.backward[i];
    if (may && repeats(store, table, i, j)) {
      table.flag[j] = 1;
      table.dupof[j] = i;
      return;
    }
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

}  // namespace

bool repeats(const PointStore& store, const BlockTable& table, int i, int j) {
  int n = table.ndata[i], a = table.nstart[i], b = table.nstart[j];
  bool forward = true, backward = true;
  for (int m = 0; m < n && (forward || backward); ++m) {
    forward = forward && store.id(a + m) == store.id(b + m);
    backward = backward && store.id(a + n - 1 - m) == store.id(b + m);
  }
  return forward || backward;
}

Status drop_marked(BlockTable& table, TextWriter& console) {
  int before = table.ntotal, left = 0;
  for (int b = 0; b < before; ++b) {
    if (table.flag[b] == 1) continue;
    table.nstart[left] = table.nstart[b];
    table.ndata[left] = table.ndata[b];
    ++left;
  }
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

Status remove_duplicates(const PointStore& store, BlockTable& table, TextWriter& console) {
  Fingerprints fp;
  for (int b = 0; b < table.ntotal; ++b) table.flag[b] = 0;
  fingerprint(store, table, fp);
  for (int i = 0; i + 1 < table.ntotal; ++i) scan(store, table, fp, i);
  return drop_marked(table, console);
}

}  // namespace linechain
