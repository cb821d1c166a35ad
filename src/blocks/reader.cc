// Block reading: header lines count, every even one from the 4th on closes the
// open block; point lines fill the store in file order.
#include "blocks/reader.h"

namespace linechain {
namespace {

/// What the reader tracks while it walks one file.
struct Cursor {
  /// `H` lines seen after the skipped lines.
  int headers = 0;
  /// Points in the block that is still open.
  int open_points = 0;
};

// Records the open block as block b (blocks past the table are only counted).
void close_block(int b, const Cursor& cur, const PointStore& store, BlockTable& table) {
  if (b >= kMaxBlocks) return;
  table.nstart[b] = store.size() - cur.open_points;
  table.ndata[b] = cur.open_points;
}

Status take_point(std::string_view line, const std::string& name, Cursor& cur,
                  PointStore& store) {
  if (line.size() > static_cast<size_t>(kMaxPointLine))
    return fail("Point line too long (" + name + ")\n");
  if (store.size() == kMaxPoints) return fail("Too many points (" + name + ")\n");
  store.add(line);
  ++cur.open_points;
  return {};
}

void take_header(Cursor& cur, const PointStore& store, BlockTable& table) {
  ++cur.headers;
  if (cur.headers >= 4 && cur.headers % 2 == 0) {
    close_block((cur.headers - 4) / 2, cur, store, table);
    cur.open_points = 0;
  }
}

Status read_lines(TextReader& in, const std::string& name, Cursor& cur,
                  PointStore& store, BlockTable& table) {
  std::string_view line;
  for (int skipped = 0; skipped < kSkippedLines && in.read_line(line);) ++skipped;
  while (in.read_line(line)) {
    if (line[0] == 'H') {
      take_header(cur, store, table);
    } else if (line[0] == 'T') {
      if (Status st = take_point(line, name, cur, store)) return st;
    }
  }
  if (in.failed()) return fail("File read error (" + name + ")\n");
  return {};
}

}  // namespace

Status read_blocks(TextReader& in, const std::string& name, PointStore& store,
                   BlockTable& table) {
  store.clear();
  Cursor cur;
  Status st = read_lines(in, name, cur, store, table);
  in.close();
  if (st) return st;
  // With no header line at all, the points form block 0 as with 1 to 3.
  int last = cur.headers == 0 ? 0 : (cur.headers - 2) / 2;
  close_block(last, cur, store, table);
  table.nblock = table.ntotal = last + 1;
  static_assert(kMaxBlocks == 650, "the message names the limit");
  if (table.nblock > kMaxBlocks)
    return fail("nblock > 650   (" + std::to_string(table.nblock) + ")\n");
  return {};
}

void list_blocks(TextWriter& console, const PointStore& store, const BlockTable& table) {
  for (int i = 0; i < table.nblock; ++i) {
    // A block without points shows an empty point text, still on two lines.
    std::string_view first = table.ndata[i] > 0 ? store.text(table.nstart[i]) : "\n";
    console << "nstart " << table.nstart[i] << "  data " << first << "  ndata "
            << table.ndata[i] << '\n';
  }
}

}  // namespace linechain
