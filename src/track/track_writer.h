// The three writing operations of a track file.
#pragma once

#include <cstdint>
#include <string_view>

#include "blocks/blocks.h"
#include "text/text_writer.h"

namespace linechain {

void write_file_header(TextWriter& track);
/// Opens track number `number` (counted from 1 within a file).
void write_track_header(TextWriter& track, std::string_view base, int32_t number);
/// Writes a stored point line unchanged; it carries its own line end.
inline void write_point_line(TextWriter& track, std::string_view point) { track << point; }
/// Writes point `slot` of the store the same way; a point whose only LF is
/// its last byte goes out without being searched for line ends.
inline void write_point_line(TextWriter& track, const PointStore& store, int slot) {
  std::string_view point = store.text(slot);
  if (store.one_line(slot)) track.put_line(point.substr(0, point.size() - 1));
  else write_point_line(track, point);
}

}  // namespace linechain
