// End-to-end runs of the built program in a fresh folder: console bytes, exit
// status and every file's bytes, against expectations written from the file
// formats and messages, never captured from the program.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "support/batch_folder.h"

namespace linechain::testing {
namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, std::string>;
using Points = std::vector<std::string>;

// A data file: the ten skipped lines, then each block as a pair of header
// lines and its point lines, all with CR LF.
std::string Data(std::initializer_list<Points> blocks) {
  std::string s = TenLines();
  int n = 0;
  for (const auto& b : blocks) {
    s += "H  LINE " + std::to_string(++n) + "\r\nH  POINTS " + std::to_string(b.size()) + "\r\n";
    for (const auto& p : b) s += p + "\r\n";
  }
  return s;
}

std::string Listing(int nstart, const std::string& first, int ndata) {
  return "nstart " + std::to_string(nstart) + "  data " + first + "\r\n  ndata " +
         std::to_string(ndata) + "\r\n";
}

std::string Lines(const Points& points) {
  std::string s;
  for (const auto& p : points) s += p + "\r\n";
  return s;
}

// A one-block file and what converting it prints and writes.
const std::string kOneBlock = Data({{"Ta"}});
std::string OneBlockConsole(int index, const std::string& name) {
  return std::to_string(index) + " " + name + "\r\n" + Listing(0, "Ta", 1) + "0 REMAIN BLOCK:1\r\n";
}
std::string OneBlockTrack(const std::string& base) {
  return FileHeader() + TrackHeader(base, 1) + "Ta\r\n";
}

TEST(EndToEnd, FewBlocksGiveHeaderEntryLineListingAndTwoTracks) {
  BatchFolder b;
  std::string data = Data({{"Ta", "Tb"}, {"Tb", "Tc"}, {"T  x  1", "T  y  2"}, {"T  y  2", "Tz"}});
  b.write("datlist.txt", "road.dat\r\n");
  b.write("road.dat", data);
  RunResult r = b.run();
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "0 road.dat\r\n" + Listing(0, "Ta", 2) + Listing(2, "Tb", 2) +
                       Listing(4, "T  x  1", 2) + Listing(6, "T  y  2", 2) +
                       "0 REMAIN BLOCK:4\r\n1 REMAIN BLOCK:2\r\n");
  EXPECT_EQ(b.files(), (Files{{"datlist.txt", "road.dat\r\n"},
                              {"road.dat", data},
                              {"road.trk", FileHeader() + TrackHeader("road", 1) +
                                               Lines({"Ta", "Tb", "Tb", "Tc"}) +
                                               TrackHeader("road", 2) +
                                               Lines({"T  x  1", "T  y  2", "T  y  2", "Tz"})}}));
}

TEST(EndToEnd, RepeatedBlockIsReportedAndLeftOutOfTheTracks) {
  BatchFolder b;
  // Block 1 repeats block 0 backwards; block 3 repeats block 0 too, but the
  // scans stop at block 2, whose size differs, so it stays.
  b.write("datlist.txt", "dup.dat");
  b.write("dup.dat", Data({{"Ta", "Tb", "Tc"}, {"Tc", "Tb", "Ta"}, {"Tc", "Td"}, {"Ta", "Tb", "Tc"}}));
  RunResult r = b.run();
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "0 dup.dat\r\n" + Listing(0, "Ta", 3) + Listing(3, "Tc", 3) +
                       Listing(6, "Tc", 2) + Listing(8, "Ta", 3) +
                       "Tautological data deleted (1)\r\n   1<-  0  \r\n"
                       "0 REMAIN BLOCK:3\r\n");
  // Block 2 appends at Tc; the kept copy then fits only reversed at the head.
  EXPECT_EQ(b.read("dup.trk"), FileHeader() + TrackHeader("dup", 1) +
                                   Lines({"Tc", "Tb", "Ta", "Ta", "Tb", "Tc", "Tc", "Td"}));
}

TEST(EndToEnd, ListNamesAndTrackFileNames) {
  struct Case {
    const char* name;
    std::string list;
    std::vector<std::string> data;  // files holding one block
    std::vector<std::pair<std::string, std::string>> tracks;  // file, base
  } cases[] = {
      {"any white space separates names", "a.dat\tb.dat \r\n\v\fc.dat", {"a.dat", "b.dat", "c.dat"},
       {{"a.trk", "a"}, {"b.trk", "b"}, {"c.trk", "c"}}},
      {"cut at the first dot", "a.b.dat", {"a.b.dat"}, {{"a.trk", "a"}}},
      {"name without a dot", "plain", {"plain"}, {{"plain.trk", "plain"}}},
      {"directory part kept", "maps/road.dat", {"maps/road.dat"}, {{"maps/road.trk", "maps/road"}}},
      {"dot in the directory part", "old.maps/road.dat", {"old.maps/road.dat"}, {{"old.trk", "old"}}},
      {"leading dot gives an empty base", ".hidden", {".hidden"}, {{".trk", ""}}},
      {"names longer than 79 characters are used in full", std::string(120, 'n') + ".dat",
       {std::string(120, 'n') + ".dat"}, {{std::string(120, 'n') + ".trk", std::string(120, 'n')}}},
      {"ctrl-z ends the list", "a.dat\x1A b.dat", {"a.dat", "b.dat"}, {{"a.trk", "a"}}},
      {"name outside ASCII, in UTF-8", "stra\xC3\x9F" "e.dat", {"stra\xC3\x9F" "e.dat"},
       {{"stra\xC3\x9F" "e.trk", "stra\xC3\x9F" "e"}}},
  };
  for (const auto& c : cases) {
    BatchFolder b;
    b.write("datlist.txt", c.list);
    Files want = {{"datlist.txt", c.list}};
    for (const auto& d : c.data) b.write(d, kOneBlock), want[d] = kOneBlock;
    std::string console;
    int index = 0;
    for (const auto& [track, base] : c.tracks) {
      want[track] = OneBlockTrack(base);
      console += OneBlockConsole(index, c.data[static_cast<size_t>(index)]);
      ++index;
    }
    RunResult r = b.run();
    EXPECT_EQ(r.status, 0) << c.name;
    EXPECT_EQ(r.out, console) << c.name;
    EXPECT_EQ(b.files(), want) << c.name;
  }
}

TEST(EndToEnd, LaterEntryWithTheSameBaseReplacesTheTrackFile) {
  BatchFolder b;
  b.write("datlist.txt", "x.dat x.txt");
  b.write("x.dat", Data({{"Tlong", "Tlonger", "Tlongest"}}));
  b.write("x.txt", kOneBlock);
  RunResult r = b.run();
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(b.read("x.trk"), OneBlockTrack("x"));
}

TEST(EndToEnd, OnlyThe405FirstNamesAreConverted) {
  BatchFolder b;
  std::string list, console;
  for (int i = 0; i < 406; ++i) {
    std::string name = "f" + std::to_string(i) + ".dat";
    list += name + "\n";
    if (i < 405) b.write(name, kOneBlock), console += OneBlockConsole(i, name);
  }
  b.write("datlist.txt", list);  // the 406th file does not even exist
  RunResult r = b.run();
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, console);
  EXPECT_EQ(b.read("f404.trk"), OneBlockTrack("f404"));
}

TEST(EndToEnd, ListFailures) {
  enum Kind { kNone, kDirectory, kFile };
  struct Case {
    const char* name;
    Kind kind;
    std::string list;
    std::string console;
  } cases[] = {
      {"no list", kNone, "", "File open error (datlist.txt)\r\n"},
      {"list is a directory", kDirectory, "", "File open error (datlist.txt)\r\n"},
      {"empty list", kFile, "", "datlist.txt holds no file name\r\n"},
      {"only white space", kFile, " \r\n\t\x1A" "a.dat", "datlist.txt holds no file name\r\n"},
  };
  for (const auto& c : cases) {
    BatchFolder b;
    if (c.kind == kDirectory) fs::create_directory(b.dir() / "datlist.txt");
    if (c.kind == kFile) b.write("datlist.txt", c.list);
    Files before = b.files();
    RunResult r = b.run();
    EXPECT_EQ(r.status, 1) << c.name;
    EXPECT_EQ(r.out, c.console) << c.name;
    EXPECT_EQ(b.files(), before) << c.name;
  }
}

TEST(EndToEnd, MissingThirdDataFileStopsAfterTwoFullTrackFiles) {
  BatchFolder b;
  b.write("datlist.txt", "a.dat b.dat c.dat d.dat");
  b.write("a.dat", kOneBlock);
  b.write("b.dat", kOneBlock);
  b.write("d.dat", kOneBlock);
  RunResult r = b.run();
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, OneBlockConsole(0, "a.dat") + OneBlockConsole(1, "b.dat") +
                       "File open error (c.dat)\r\n");
  Files files = b.files();
  EXPECT_EQ(files["a.trk"], OneBlockTrack("a"));
  EXPECT_EQ(files["b.trk"], OneBlockTrack("b"));
  EXPECT_EQ(files.count("c.trk") + files.count("d.trk"), 0u);
}

TEST(EndToEnd, DirectoryNamedAsDataFileCannotBeOpened) {
  BatchFolder b;
  b.write("datlist.txt", "a.dat maps.dat");
  b.write("a.dat", kOneBlock);
  fs::create_directory(b.dir() / "maps.dat");
  RunResult r = b.run();
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, OneBlockConsole(0, "a.dat") + "File open error (maps.dat)\r\n");
  EXPECT_FALSE(fs::exists(b.dir() / "maps.trk"));
}

TEST(EndToEnd, ReservedDeviceNamesAreNoDataFiles) {
  // Elsewhere these name files that do not exist; on Windows they reach the
  // null device, which would convert as an empty data file.
  struct Case {
    const char* name;
    std::string entry;
  } cases[] = {
      {"bare", "nul"},
      {"capitals and an extension", "NUL.dat"},
      {"named like its own track file", "Nul.trk"},
      {"in a folder", "maps/nul.dat"},
  };
  for (const auto& c : cases) {
    BatchFolder b;
    b.write("datlist.txt", "a.dat " + c.entry);
    b.write("a.dat", kOneBlock);
    fs::create_directory(b.dir() / "maps");
    RunResult r = b.run();
    EXPECT_EQ(r.status, 1) << c.name;
    EXPECT_EQ(r.out, OneBlockConsole(0, "a.dat") + "File open error (" + c.entry + ")\r\n") << c.name;
    EXPECT_EQ(b.files(), (Files{{"datlist.txt", "a.dat " + c.entry},
                                {"a.dat", kOneBlock},
                                {"a.trk", OneBlockTrack("a")}}))
        << c.name;
  }
}

TEST(EndToEnd, TrackFileThatCannotBeCreated) {
  BatchFolder b;
  b.write("datlist.txt", "x.dat");
  b.write("x.dat", kOneBlock);
  fs::create_directory(b.dir() / "x.trk");
  RunResult r = b.run();
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "0 x.dat\r\nFile open error(x.trk)\r\n");
}

TEST(EndToEnd, FullDiskIsAWriteErrorNotSuccess) {
  if (BatchFolder::emulated()) GTEST_SKIP() << "a link to /dev/full is a POSIX set-up";
  BatchFolder b;
  b.write("datlist.txt", "x.dat y.dat");
  b.write("x.dat", kOneBlock);
  b.write("y.dat", kOneBlock);
  fs::create_symlink("/dev/full", b.dir() / "x.trk");
  RunResult r = b.run();
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, OneBlockConsole(0, "x.dat") + "File write error(x.trk)\r\n");
  EXPECT_FALSE(fs::exists(b.dir() / "y.trk"));
}

TEST(EndToEnd, DataFileThatIsItsOwnTrackFileKeepsEveryByte) {
  struct Case {
    const char* name;
    std::string entry;  // also the data file's name in the folder
    std::string track;
    void (*link)(const fs::path& dir);
  } cases[] = {
      {"same name", "x.trk", "x.trk", nullptr},
      {"hard link", "x.dat", "x.trk",
       [](const fs::path& d) { fs::create_hard_link(d / "x.dat", d / "x.trk"); }},
      {"symbolic link", "x.dat", "x.trk",
       [](const fs::path& d) { fs::create_symlink("x.dat", d / "x.trk"); }},
      {"link to a file named without a dot", "x", "x.trk",
       [](const fs::path& d) { fs::create_symlink("x", d / "x.trk"); }},
      {"same name outside ASCII", "\xC3\xA9t\xC3\xA9.trk", "\xC3\xA9t\xC3\xA9.trk", nullptr},
      {"hard link, names outside ASCII", "r\xC3\xA9seau.dat", "r\xC3\xA9seau.trk",
       [](const fs::path& d) {
         fs::create_hard_link(d / "r\xC3\xA9seau.dat", d / "r\xC3\xA9seau.trk");
       }},
  };
  for (const auto& c : cases) {
    BatchFolder b;
    b.write("datlist.txt", c.entry);
    b.write(c.entry, kOneBlock);
    if (c.link) c.link(b.dir());
    RunResult r = b.run();
    EXPECT_EQ(r.status, 1) << c.name;
    EXPECT_EQ(r.out, "0 " + c.entry + "\r\nFile open error(" + c.track + ")\r\n") << c.name;
    EXPECT_EQ(b.read(c.entry), kOneBlock) << c.name;
  }
}

TEST(EndToEnd, TooManyBlocksLeavesTheTrackFileWithItsHeaderOnly) {
  BatchFolder b;
  std::string data = TenLines();
  for (int i = 0; i < 651; ++i) data += "H\r\nH\r\nT" + std::to_string(i) + "\r\n";
  b.write("datlist.txt", "big.dat a.dat");
  b.write("big.dat", data);
  b.write("a.dat", kOneBlock);
  RunResult r = b.run();
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "0 big.dat\r\nnblock > 650   (651)\r\n");
  EXPECT_EQ(b.read("big.trk"), FileHeader());
  EXPECT_FALSE(fs::exists(b.dir() / "a.trk"));
}

TEST(EndToEnd, UnwritableStandardOutputFailsWithAMessageOnStandardError) {
  // The shell that starts the program hands it a standard output on a full
  // device; under an emulator as well, the program only sees its writes fail.
  BatchFolder b;
  b.write("datlist.txt", "a.dat");
  b.write("a.dat", kOneBlock);
  RunResult r = b.run(">/dev/full");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "linechain: standard output cannot be written\n");
  EXPECT_EQ(b.read("a.trk"), OneBlockTrack("a"));
}

// Every way a data file can stop the run, as the second entry of three: the
// message, status 1, the first entry's track file as written, the third never
// reached, and every data file (and the list) byte for byte as before.
TEST(EndToEnd, EachStopLeavesEarlierTrackFilesAndEveryDataFileAsTheyWere) {
  std::string many_blocks = TenLines(), many_points = TenLines() + "H\r\nH\r\n";
  for (int i = 0; i < 651; ++i) many_blocks += "H\r\nH\r\nT" + std::to_string(i) + "\r\n";
  for (int i = 0; i < 4686; ++i) many_points += "T " + std::to_string(i) + "\r\n";
  const std::string long_line = Data({{"Ta", "T" + std::string(78, 'x')}});
  enum Track { kNoTrack, kHeaderOnly, kUntouched };
  struct Case {
    const char* name;
    std::string entry;
    std::function<void(const BatchFolder&)> set_up;
    std::string message;  // after the entry line, if one is printed
    bool entry_line;
    std::string track;    // the entry's track file
    Track after;
  } cases[] = {
      {"missing data file", "m.dat", [](const BatchFolder&) {}, "File open error (m.dat)", false,
       "m.trk", kNoTrack},
      {"directory as data file", "d.dat",
       [](const BatchFolder& b) { fs::create_directory(b.dir() / "d.dat"); },
       "File open error (d.dat)", false, "d.trk", kNoTrack},
      {"track file cannot be created", "x.dat",
       [&](const BatchFolder& b) {
         b.write("x.dat", kOneBlock);
         fs::create_directory(b.dir() / "x.trk");
       },
       "File open error(x.trk)", true, "x.trk", kNoTrack},
      {"own track file by name", "x.trk", [&](const BatchFolder& b) { b.write("x.trk", kOneBlock); },
       "File open error(x.trk)", true, "x.trk", kUntouched},
      {"own track file through ./", "./.trk", [&](const BatchFolder& b) { b.write(".trk", kOneBlock); },
       "File open error(.trk)", true, ".trk", kUntouched},
      {"own track file through a hard link", "x.dat",
       [&](const BatchFolder& b) {
         b.write("x.dat", kOneBlock);
         fs::create_hard_link(b.dir() / "x.dat", b.dir() / "x.trk");
       },
       "File open error(x.trk)", true, "x.trk", kUntouched},
      {"too many blocks", "x.dat", [&](const BatchFolder& b) { b.write("x.dat", many_blocks); },
       "nblock > 650   (651)", true, "x.trk", kHeaderOnly},
      {"too many points", "x.dat", [&](const BatchFolder& b) { b.write("x.dat", many_points); },
       "Too many points (x.dat)", true, "x.trk", kHeaderOnly},
      {"point line too long", "x.dat", [&](const BatchFolder& b) { b.write("x.dat", long_line); },
       "Point line too long (x.dat)", true, "x.trk", kHeaderOnly},
  };
  for (const auto& c : cases) {
    BatchFolder b;
    b.write("datlist.txt", "a.dat " + c.entry + " z.dat");
    b.write("a.dat", kOneBlock);
    b.write("z.dat", kOneBlock);
    c.set_up(b);
    Files before = b.files();
    RunResult r = b.run();
    EXPECT_EQ(r.status, 1) << c.name;
    EXPECT_EQ(r.out, OneBlockConsole(0, "a.dat") + (c.entry_line ? "1 " + c.entry + "\r\n" : "") +
                         c.message + "\r\n")
        << c.name;
    Files want = before;
    want["a.trk"] = OneBlockTrack("a");
    if (c.after == kHeaderOnly) want[c.track] = FileHeader();
    EXPECT_EQ(b.files(), want) << c.name;
    if (c.after == kNoTrack) {
      EXPECT_FALSE(fs::is_regular_file(b.dir() / c.track)) << c.name;
    }
  }
}

}  // namespace
}  // namespace linechain::testing
