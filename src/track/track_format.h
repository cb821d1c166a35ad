// The track file format, written down once: the fixed file header, the track
// header around `base` and the track number, and the point lines between.
// docs/track_format.md describes the same bytes for readers of the files.
#pragma once

#include <string_view>

namespace linechain {

/// Six lines: coordinate system and datum.
inline constexpr std::string_view kFileHeader =
    "H  COORDINATE SYSTEM\n"
    "U  LAT LON DEG\n"
    "\n"
    "H  R DATUM\n"
    "M  G WGS84\n"
    "\n";
/// On disk every LF takes two bytes.
inline constexpr size_t kFileHeaderOnDisk = 66;
static_assert(kFileHeader.size() + 6 == kFileHeaderOnDisk);

/// A track header is kTrackOpen, `base`, "(", the track number, then
/// kTrackClose.
inline constexpr std::string_view kTrackOpen = "\nH ";
inline constexpr std::string_view kTrackClose = ")\n\nH  Latitude     Longitude\n";

}  // namespace linechain
