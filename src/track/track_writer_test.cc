#include "track/track_writer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

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

// Writes the points once from the store and once as plain texts.
std::pair<std::string, std::string> BothWays(const std::vector<std::string>& points,
                                             int rounds = 1) {
  auto store = std::make_unique<PointStore>();
  store->clear();
  for (const auto& p : points) store->add(p);
  std::string from_store, from_text;
  TextWriter a, b;
  a.open(std::make_unique<StringSink>(from_store));
  b.open(std::make_unique<StringSink>(from_text));
  for (int r = 0; r < rounds; ++r) {
    for (int slot = 0; slot < store->size(); ++slot) {
      write_point_line(a, *store, slot);
      write_point_line(b, store->text(slot));
    }
  }
  a.close();
  b.close();
  return {from_store, from_text};
}

TEST(TrackWriter, StoredPointsGoOutAsTheirTexts) {
  struct Case {
    const char* name;
    std::string point;
    bool one_line;
  } cases[] = {
      {"a whole line", "T  35.1  139.2\n", true},
      {"under eight bytes", "T 1\n", true},
      {"seven bytes", "T 1234\n", true},
      {"eight bytes", "T 12345\n", true},
      {"nine bytes", "T 123456\n", true},
      {"just a line end", "\n", true},
      {"cr before the line end", "T 1\r\n", true},
      {"no line end", "T  35.1  139.2", false},
      {"a line end inside", "T 1\n2\n", false},
      {"a line end inside a long text", "T  35.1\n  139.2  extra text\n", false},
      {"a line end only inside", "T  35.1\n  139.2", false},
      {"empty", "", false},
  };
  for (const auto& c : cases) {
    auto store = std::make_unique<PointStore>();
    store->clear();
    store->add(c.point);
    EXPECT_EQ(store->one_line(0), c.one_line) << c.name;
    auto [from_store, from_text] = BothWays({c.point});
    EXPECT_EQ(from_store, from_text) << c.name;
  }
}

TEST(TrackWriter, StoredPointsSurviveManyBufferBlocks) {
  // Lines of several lengths, so the writer's blocks end at every offset.
  std::vector<std::string> points;
  for (int n = 1; n < 79; ++n) points.push_back("T" + std::string(n - 1, 'x') + "\n");
  auto [from_store, from_text] = BothWays(points, 100);
  EXPECT_GT(from_text.size(), 3 * TextWriter::kBufferSize);
  EXPECT_EQ(from_store, from_text);
}

}  // namespace
}  // namespace linechain
