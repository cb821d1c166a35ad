// Track file output: the header texts come from the format header.
#include "track/track_writer.h"

#include "track/track_format.h"

namespace linechain {

void write_file_header(TextWriter& track) { track << kFileHeader; }

void write_track_header(TextWriter& track, std::string_view base, int32_t number) {
  track << kTrackOpen << base << '(' << number << kTrackClose;
}

}  // namespace linechain
