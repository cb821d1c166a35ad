// The three writing operations of a track file.
#pragma once

#include <cstdint>
#include <string_view>

#include "text/text_writer.h"

namespace linechain {

void write_file_header(TextWriter& track);
/// Opens track number `number` (counted from 1 within a file).
void write_track_header(TextWriter& track, std::string_view base, int32_t number);
/// Writes a stored point line unchanged; it carries its own line end.
inline void write_point_line(TextWriter& track, std::string_view point) { track << point; }

}  // namespace linechain
