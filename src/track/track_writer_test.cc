#include "track/track_writer.h"

#include <gtest/gtest.h>

#include "track/track_format.h"

namespace linechain {
namespace {

TEST(TrackWriter, FileHeaderThenTracksAsOnDisk) {
  std::string out;
  TextWriter w;
  w.open(std::make_unique<StringSink>(out));
  write_file_header(w);
  write_track_header(w, "road", 1);
  write_point_line(w, "T  35.1  139.2\n");
  write_track_header(w, "", 12);
  write_point_line(w, "T x\r\n");
  ASSERT_TRUE(w.close());
  EXPECT_EQ(out,
            "H  COORDINATE SYSTEM\r\n"
            "U  LAT LON DEG\r\n"
            "\r\n"
            "H  R DATUM\r\n"
            "M  G WGS84\r\n"
            "\r\n"
            "\r\n"
            "H road(1)\r\n"
            "\r\n"
            "H  Latitude     Longitude\r\n"
            "T  35.1  139.2\r\n"
            "\r\n"
            "H (12)\r\n"
            "\r\n"
            "H  Latitude     Longitude\r\n"
            "T x\r\r\n");
  EXPECT_EQ(out.substr(kFileHeaderOnDisk, 10), "\r\nH road(1") << "header is 66 bytes";
}

}  // namespace
}  // namespace linechain
