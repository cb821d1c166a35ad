// The reference versions: no index, no fingerprint, every attempt made, every
// check kept.
#include "support/literal_merge.h"

#include "track/track_writer.h"

namespace linechain::literal {

Table MakeTable(std::vector<std::string> points, const std::vector<int>& sizes) {
  Table t;
  t.points = std::move(points);
  int at = 0;
  for (int n : sizes) {
    t.nstart.push_back(at);
    t.ndata.push_back(n);
    at += n;
  }
  t.nblock = t.ntotal = static_cast<int>(sizes.size());
  t.flag.assign(sizes.size(), 0);
  t.dupof.assign(sizes.size(), 0);
  return t;
}

namespace {

const std::string& Point(const Table& t, int b, int m) {
  return t.points[static_cast<size_t>(t.nstart[b] + m)];
}

void Mark(Table& t, int j, int i) {
  t.flag[j] = 1;
  t.dupof[j] = i;
}

}  // namespace

Status RemoveDuplicates(Table& t, TextWriter& console) {
  for (int b = 0; b < t.ntotal; ++b) t.flag[b] = 0;
  for (int i = 0; i <= t.ntotal - 2; ++i) {
    for (int j = i + 1; j <= t.ntotal - 1; ++j) {
      if (t.flag[j] == 1) break;
      if (t.ndata[j] != t.ndata[i]) break;
      int count = 0;
      for (int m = 0; m < t.ndata[i]; ++m)
        if (Point(t, i, m) == Point(t, j, m)) ++count;
      if (count == t.ndata[j]) {
        Mark(t, j, i);
        break;
      }
      count = 0;
      for (int m = 0; m < t.ndata[i]; ++m)
        if (Point(t, i, t.ndata[i] - 1 - m) == Point(t, j, m)) ++count;
      if (count == t.ndata[j]) {
        Mark(t, j, i);
        break;
      }
    }
  }
  int left = 0;
  for (int b = 0; b < t.ntotal; ++b) {
    if (t.flag[b] == 1) continue;
    t.nstart[left] = t.nstart[b];
    t.ndata[left] = t.ndata[b];
    ++left;
  }
  if (left == 0) {
    std::string m = "Tautological Delete ERROR\n";
    for (int b = 0; b < t.ntotal; ++b)
      m += "flag[" + std::to_string(b) + "]=" + std::to_string(t.flag[b]) + "\n";
    return fail(m);
  }
  if (left < t.ntotal) {
    console << "Tautological data deleted (" << t.ntotal - left << ")\n";
    int entries = 0;
    for (int b = 0; b < t.ntotal; ++b) {
      if (t.flag[b] != 1) continue;
      console << ' ' << Padded{b, 3} << "<-" << Padded{t.dupof[b], 3} << "  ";
      if (++entries % 10 == 0) console << "\n";
    }
    console << "\n";
  }
  t.nblock = t.ntotal = left;
  return {};
}

namespace {

const std::string& First(const Table& t, int k) { return Point(t, k, 0); }
const std::string& Last(const Table& t, int k) { return Point(t, k, t.ndata[k] - 1); }

void Reverse(Table& t, int k) {
  std::vector<std::string> scratch(static_cast<size_t>(t.ndata[k]));
  for (int j = 0; j < t.ndata[k]; ++j) scratch[static_cast<size_t>(j)] = Point(t, k, t.ndata[k] - 1 - j);
  for (int j = 0; j < t.ndata[k]; ++j)
    t.points[static_cast<size_t>(t.nstart[k] + j)] = scratch[static_cast<size_t>(j)];
}

void ShiftUp(std::vector<int>& order, int ncount) {
  for (int j = ncount; j >= 1; --j) order[j] = order[j - 1];
}

}  // namespace

Status BuildChains(Table& t, const std::string& base, TextWriter& track, TextWriter& console) {
  // Blocks without points take no part.
  int kept = 0;
  for (int b = 0; b < t.nblock; ++b) {
    if (t.ndata[b] == 0) continue;
    t.nstart[kept] = t.nstart[b];
    t.ndata[kept] = t.ndata[b];
    ++kept;
  }
  t.nblock = t.ntotal = kept;
  if (t.nblock == 0) return {};
  for (int b = 0; b < t.ntotal; ++b) t.flag[b] = 0;
  std::vector<int> order(t.flag.size() + 1);
  int tracks = 0;
  for (;;) {
    int sum = 0;
    for (int b = 0; b < t.nblock; ++b) sum += t.flag[b];
    if (sum != 0)
      return fail("ERROR (while loop)\nnblock:" + std::to_string(t.nblock) + " ntotal:" +
                  std::to_string(t.ntotal) + " ncount:" + std::to_string(sum) + "\n");
    console << tracks << " REMAIN BLOCK:" << t.nblock << "\n";
    ++tracks;
    write_track_header(track, base, tracks);
    std::string head = First(t, 0), tail = Last(t, 0);
    order[0] = 0;
    t.flag[0] = 1;
    int ncount = 1;
    for (int attempt = 0; attempt < t.nblock - 1; ++attempt) {
      for (int k = 0; k < t.nblock; ++k) {
        if (t.flag[k] != 0) continue;
        if (tail == First(t, k)) {
          t.flag[k] = 1;
          tail = Last(t, k);
          order[ncount] = k;
          ++ncount;
          break;
        }
        if (head == Last(t, k)) {
          t.flag[k] = 1;
          head = First(t, k);
          ShiftUp(order, ncount);
          order[0] = k;
          ++ncount;
          break;
        }
        if (head == First(t, k)) {
          t.flag[k] = 1;
          Reverse(t, k);
          head = First(t, k);
          ShiftUp(order, ncount);
          order[0] = k;
          ++ncount;
          break;
        }
        if (tail == Last(t, k)) {
          t.flag[k] = 1;
          Reverse(t, k);
          tail = Last(t, k);
          order[ncount] = k;
          ++ncount;
          break;
        }
      }
    }
    if (ncount == 0) return fail("ncount=0 ERROR\n");
    for (int e = 0; e < ncount; ++e)
      for (int m = 0; m < t.ndata[order[e]]; ++m) write_point_line(track, Point(t, order[e], m));
    if (ncount == t.nblock) return {};
    int ncount2 = 0;
    for (int b = 0; b < t.nblock; ++b) {
      if (t.flag[b] != 0) continue;
      t.nstart[ncount2] = t.nstart[b];
      t.ndata[ncount2] = t.ndata[b];
      t.flag[ncount2] = t.flag[b];
      ++ncount2;
    }
    if (t.nblock - ncount2 != ncount) return fail("ERROR (ncount & ncount2)\n");
    t.nblock = ncount2;
  }
}

}  // namespace linechain::literal
