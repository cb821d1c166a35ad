#include "run/driver.h"

#include <gtest/gtest.h>

#include "support/memory_files.h"

namespace linechain {
namespace {

const std::string kTen = "1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n";
const std::string kHeader =
    "H  COORDINATE SYSTEM\r\nU  LAT LON DEG\r\n\r\nH  R DATUM\r\nM  G WGS84\r\n\r\n";

struct Outcome {
  int status;
  std::string console;
};

Outcome RunBatch(MemoryFileSystem& files) {
  Outcome o;
  o.status = run_batch(files, std::make_unique<StringSink>(o.console));
  return o;
}

TEST(Driver, ReadErrorInTheMiddleOfADataFileStopsTheRun) {
  MemoryFileSystem files;
  files.files["datlist.txt"] = "x.dat y.dat";
  files.files["x.dat"] = kTen + "H\nH\nTa\nTb\n";
  files.files["y.dat"] = kTen + "Ta\n";
  files.read_fails_after["x.dat"] = kTen.size() + 3;
  Outcome o = RunBatch(files);
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.console, "0 x.dat\r\nFile read error (x.dat)\r\n");
  EXPECT_EQ(files.files["x.trk"], kHeader);
  EXPECT_EQ(files.files.count("y.trk"), 0u);
}

TEST(Driver, TrackFileWriteFailures) {
  struct Case {
    const char* name;
    size_t write_fails_after;
    bool close_fails;
  } cases[] = {
      {"nothing can be written", 0, false},
      {"file header cut short", 10, false},
      {"close fails", SIZE_MAX, true},
  };
  for (const auto& c : cases) {
    MemoryFileSystem files;
    files.files["datlist.txt"] = "x.dat y.dat";
    files.files["x.dat"] = kTen + "Ta\n";
    files.files["y.dat"] = kTen + "Ta\n";
    files.write_fails_after["x.trk"] = c.write_fails_after;
    if (c.close_fails) files.close_fails["x.trk"] = true;
    Outcome o = RunBatch(files);
    EXPECT_EQ(o.status, 1) << c.name;
    EXPECT_EQ(o.console,
              "0 x.dat\r\nnstart 0  data Ta\r\n  ndata 1\r\n0 REMAIN BLOCK:1\r\n"
              "File write error(x.trk)\r\n")
        << c.name;
    EXPECT_EQ(files.files.count("y.trk"), 0u) << c.name;
  }
}

TEST(Driver, ListReadErrorIsNotTakenForTheEndOfTheList) {
  MemoryFileSystem files;
  files.files["datlist.txt"] = std::string(100000, ' ') + "x.dat";
  files.read_fails_after["datlist.txt"] = 70000;
  Outcome o = RunBatch(files);
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.console, "File read error (datlist.txt)\r\n");
}

TEST(Driver, NulByteInAListWordNamesNoFile) {
  MemoryFileSystem files;
  files.files["datlist.txt"] = std::string("a\0b.dat", 7);
  files.files["a"] = kTen + "Ta\n";
  Outcome o = RunBatch(files);
  EXPECT_EQ(o.status, 1);
  EXPECT_EQ(o.console, std::string("File open error (a\0b.dat)\r\n", 27));
  EXPECT_EQ(files.files.count("a.trk"), 0u);
}

}  // namespace
}  // namespace linechain
