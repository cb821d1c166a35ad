#include "run/driver.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

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

namespace linechain {
namespace {

std::string TrackHeader(const std::string& base, int number) {
  return "\r\nH " + base + "(" + std::to_string(number) + ")\r\n\r\nH  Latitude     Longitude\r\n";
}

// A batch of three: a.dat converts, x.dat's track file fails, y.dat must not
// be reached. x.dat's blocks make two tracks.
struct StagedBatch {
  MemoryFileSystem files;
  std::map<std::string, std::string> data;
  StagedBatch() {
    data["datlist.txt"] = "a.dat x.dat y.dat";
    data["a.dat"] = kTen + "Ta\n";
    data["x.dat"] = kTen + "H\nH\nTa\nTb\nH\nH\nTc\nTd\n";
    data["y.dat"] = kTen + "Ty\n";
    files.files = data;
    files.writer_buffer = 2;  // every byte reaches the file at once
  }
};

TEST(Driver, TrackWriteFailingAtEachStageStopsTheRunAndKeepsWhatWasWritten) {
  const std::string a_track = kHeader + TrackHeader("a", 1) + "Ta\r\n";
  const std::string track1 = TrackHeader("x", 1) + "Ta\r\nTb\r\n";
  const std::string track2 = TrackHeader("x", 2) + "Tc\r\nTd\r\n";
  const std::string full = kHeader + track1 + track2;
  struct Case {
    const char* stage;
    size_t fails_after;  // bytes that reach x.trk
    bool close_fails;
    int passes;  // "REMAIN BLOCK" lines before the run stops
  } cases[] = {
      {"first byte of the file header", 0, false, 1},
      {"file header", 10, false, 1},
      {"line end that ends the file header", kHeader.size() - 1, false, 1},
      {"first track header", kHeader.size() + 5, false, 1},
      {"point line of the first track", kHeader.size() + track1.size() - 3, false, 1},
      {"second track header", kHeader.size() + track1.size() + 4, false, 2},
      {"last point line", full.size() - 1, false, 2},
      {"close", SIZE_MAX, true, 2},
  };
  for (const auto& c : cases) {
    StagedBatch b;
    b.files.write_fails_after["x.trk"] = c.fails_after;
    if (c.close_fails) b.files.close_fails["x.trk"] = true;
    Outcome o = RunBatch(b.files);
    EXPECT_EQ(o.status, 1) << c.stage;
    std::string console =
        "0 a.dat\r\nnstart 0  data Ta\r\n  ndata 1\r\n0 REMAIN BLOCK:1\r\n"
        "1 x.dat\r\nnstart 0  data Ta\r\n  ndata 2\r\nnstart 2  data Tc\r\n  ndata 2\r\n"
        "0 REMAIN BLOCK:2\r\n";
    if (c.passes == 2) console += "1 REMAIN BLOCK:1\r\n";
    EXPECT_EQ(o.console, console + "File write error(x.trk)\r\n") << c.stage;
    EXPECT_EQ(b.files.files["x.trk"], full.substr(0, c.fails_after)) << c.stage;
    EXPECT_EQ(b.files.files["a.trk"], a_track) << c.stage << ": earlier track file";
    EXPECT_EQ(b.files.files.count("y.trk"), 0u) << c.stage << ": later entry converted";
    for (const auto& [name, bytes] : b.data)
      EXPECT_EQ(b.files.files[name], bytes) << c.stage << ": " << name << " changed";
  }
}

TEST(Driver, DataFileFailuresStopTheRunWithEarlierFilesIntact) {
  const std::string a_track = kHeader + TrackHeader("a", 1) + "Ta\r\n";
  struct Case {
    const char* name;
    void (*set_up)(MemoryFileSystem&);
    std::string console;  // after a.dat's entry
    bool track_created;   // x.trk then holds the file header only
  } cases[] = {
      {"missing", [](MemoryFileSystem& f) { f.files.erase("x.dat"); },
       "File open error (x.dat)\r\n", false},
      {"unreadable", [](MemoryFileSystem& f) { f.unreadable["x.dat"] = true; },
       "File open error (x.dat)\r\n", false},
      {"read error in the middle", [](MemoryFileSystem& f) { f.read_fails_after["x.dat"] = kTen.size() + 6; },
       "1 x.dat\r\nFile read error (x.dat)\r\n", true},
      {"track file cannot be created", [](MemoryFileSystem& f) { f.uncreatable["x.trk"] = true; },
       "1 x.dat\r\nFile open error(x.trk)\r\n", false},
      {"data file is a link to its track file",
       [](MemoryFileSystem& f) {
         f.files["x.trk"] = "";
         f.aliases["x.dat"] = "x.trk";
       },
       "1 x.dat\r\nFile open error(x.trk)\r\n", false},
  };
  for (const auto& c : cases) {
    StagedBatch b;
    c.set_up(b.files);
    std::map<std::string, std::string> before = b.files.files;
    Outcome o = RunBatch(b.files);
    EXPECT_EQ(o.status, 1) << c.name;
    EXPECT_EQ(o.console, "0 a.dat\r\nnstart 0  data Ta\r\n  ndata 1\r\n0 REMAIN BLOCK:1\r\n" + c.console)
        << c.name;
    std::map<std::string, std::string> after = before;
    after["a.trk"] = a_track;
    if (c.track_created) after["x.trk"] = kHeader;
    EXPECT_EQ(b.files.files, after) << c.name;
  }
}

}  // namespace
}  // namespace linechain
