// The disk file system of the platform the tests run on: what opens, what is
// created, and which names reach one file.
#include "platform/files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/batch_folder.h"

namespace linechain {
namespace {

namespace fs = std::filesystem;
using testing::BatchFolder;

std::string ReadAll(ByteSource& source) {
  std::string bytes;
  char buf[7];
  while (size_t n = source.read(buf, sizeof buf)) bytes.append(buf, n);
  return bytes;
}

TEST(DiskFiles, Open) {
  struct Case {
    const char* name;
    std::string path;  // relative to the folder
    bool opens;
  } cases[] = {
      {"file", "x.dat", true},
      {"file in a folder", "maps/y.dat", true},
      {"empty file", "empty.dat", true},
      {"missing file", "none.dat", false},
      {"directory", "maps", false},
      {"directory, spelled with a slash", "maps/", false},
      {"file spelled as a directory", "x.dat/", false},
      {"NUL inside the name", std::string("x.dat\0z", 7), false},
  };
  BatchFolder b;
  b.write("x.dat", "a\r\nb\x1A\r\n");
  b.write("maps/y.dat", "y");
  b.write("empty.dat", "");
  for (const auto& c : cases) {
    DiskFileSystem files;
    std::string path = (b.dir() / "").string() + c.path;
    auto source = files.open(path);
    EXPECT_EQ(source != nullptr, c.opens) << c.name;
    if (!source || !c.opens) continue;
    EXPECT_EQ(ReadAll(*source), b.read(c.path)) << c.name;
    EXPECT_FALSE(source->failed()) << c.name;
  }
}

TEST(DiskFiles, Create) {
  struct Case {
    const char* name;
    std::string path;
    bool creates;
  } cases[] = {
      {"new file", "new.trk", true},
      {"existing file is emptied first", "old.trk", true},
      {"in an existing folder", "maps/new.trk", true},
      {"in a missing folder", "none/new.trk", false},
      {"directory", "maps", false},
      {"NUL inside the name", std::string("new.trk\0z", 9), false},
  };
  for (const auto& c : cases) {
    BatchFolder b;
    b.write("old.trk", "old bytes, longer than the new ones");
    fs::create_directory(b.dir() / "maps");
    DiskFileSystem files;
    auto sink = files.create((b.dir() / "").string() + c.path);
    EXPECT_EQ(sink != nullptr, c.creates) << c.name;
    if (!sink || !c.creates) continue;
    EXPECT_TRUE(sink->write("T\r\n", 3)) << c.name;
    EXPECT_TRUE(sink->write("\r\n", 2)) << c.name;
    EXPECT_TRUE(sink->close()) << c.name;
    EXPECT_EQ(b.read(c.path), "T\r\n\r\n") << c.name;
  }
}

TEST(DiskFiles, SameFile) {
  struct Case {
    const char* name;
    std::string a, b;
    bool same;
  } cases[] = {
      {"same name", "x.dat", "x.dat", true},
      {"another spelling", "x.dat", "maps/../x.dat", true},
      {"hard link", "x.dat", "hard.trk", true},
      {"symbolic link", "x.dat", "soft.trk", true},
      {"two files with equal bytes", "x.dat", "twin.dat", false},
      {"second missing", "x.dat", "none.trk", false},
      {"both missing", "none.dat", "none.trk", false},
      {"dangling link and its target's name", "dangling.trk", "none.dat", false},
  };
  BatchFolder b;
  b.write("x.dat", "bytes");
  b.write("twin.dat", "bytes");
  fs::create_directory(b.dir() / "maps");
  fs::create_hard_link(b.dir() / "x.dat", b.dir() / "hard.trk");
  fs::create_symlink("x.dat", b.dir() / "soft.trk");
  fs::create_symlink("none.dat", b.dir() / "dangling.trk");
  for (const auto& c : cases) {
    DiskFileSystem files;
    std::string dir = (b.dir() / "").string();
    EXPECT_EQ(files.same_file(dir + c.a, dir + c.b), c.same) << c.name;
    EXPECT_EQ(files.same_file(dir + c.b, dir + c.a), c.same) << c.name << ", swapped";
  }
}

}  // namespace
}  // namespace linechain
