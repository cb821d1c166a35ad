#include "blocks/reader.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace linechain {
namespace {

using namespace std::string_literals;

const std::string kTenLines = "1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n";

struct Read {
  Status status;
  std::vector<std::pair<int, int>> blocks;  // (nstart, ndata)
  std::string listing;
};

// Reads a data file into the given store and table, which a test may reuse
// across files as the driver does.
Read ReadFile(const std::string& text, PointStore& store, BlockTable& table) {
  TextReader in;
  EXPECT_TRUE(in.open(std::make_unique<StringSource>(text)));
  Read r;
  r.status = read_blocks(in, "f.dat", store, table);
  EXPECT_FALSE(in.is_open()) << "the reader closes the data file";
  if (r.status) return r;
  for (int b = 0; b < table.nblock; ++b) r.blocks.emplace_back(table.nstart[b], table.ndata[b]);
  TextWriter console;
  console.open(std::make_unique<StringSink>(r.listing));
  list_blocks(console, store, table);
  console.close();
  return r;
}

Read ReadBody(const std::string& body) {
  auto store = std::make_unique<PointStore>();
  auto table = std::make_unique<BlockTable>();
  return ReadFile(kTenLines + body, *store, *table);
}

using Blocks = std::vector<std::pair<int, int>>;

TEST(Reader, BlockNumbersFollowEveryEvenHeaderFromTheFourth) {
  struct Case {
    const char* name;
    std::string body;
    Blocks blocks;
  } cases[] = {
      {"two pairs", "H\nH\nTa\nTb\nTc\nTd\nTe\nH\nH\nTf\nTg\nTh\n", {{0, 5}, {5, 3}}},
      {"points before the first header", "Ta\nH\nH\nTb\nH\nH\nTc\n", {{0, 2}, {2, 1}}},
      {"points between 3rd and 4th header", "H\nH\nTa\nH\nTb\nH\nTc\n", {{0, 2}, {2, 1}}},
      {"lone 5th header only counts", "H\nH\nTa\nH\nH\nTb\nH\n", {{0, 1}, {1, 1}}},
      {"one header", "H\nTa\nTb\n", {{0, 2}}},
      {"no header forms block 0", "Ta\nTb\n", {{0, 2}}},
      {"nothing after the skipped lines", "", {{0, 0}}},
      {"other lines are ignored", "H\nH\ntx\n Tx\nhx\n\nX\nTa\n", {{0, 1}}},
      {"empty blocks in between and at the end", "H\nH\nH\nH\nTa\nH\nH\nH\nH\n",
       {{0, 0}, {0, 1}, {1, 0}, {1, 0}}},
  };
  for (const auto& c : cases) {
    Read r = ReadBody(c.body);
    EXPECT_FALSE(r.status) << c.name;
    EXPECT_EQ(r.blocks, c.blocks) << c.name;
  }
}

TEST(Reader, ListingShowsFirstPointAndSizeOnTwoLines) {
  Read r = ReadBody("H\nH\nT 1  2\nTb\nH\nH\nH\nH\nT c\n");
  EXPECT_EQ(r.listing,
            "nstart 0  data T 1  2\r\n  ndata 2\r\n"
            "nstart 2  data \r\n  ndata 0\r\n"
            "nstart 2  data T c\r\n  ndata 1\r\n");
}

TEST(Reader, EmptyBlockNeverShowsAPointAnEarlierFileLeft) {
  auto store = std::make_unique<PointStore>();
  auto table = std::make_unique<BlockTable>();
  ReadFile(kTenLines + "Tstale\nTstale2\n", *store, *table);
  Read r = ReadFile(kTenLines + "H\nH\nTa\nH\nH\n", *store, *table);
  EXPECT_EQ(r.listing, "nstart 0  data Ta\r\n  ndata 1\r\nnstart 1  data \r\n  ndata 0\r\n");
}

TEST(Reader, SkippedLinesCountLongLinesAsSeveral) {
  // A 300-character line is two of the ten skipped lines, so only eight
  // more are skipped and the 10th line "Tx" is a point.
  std::string file = std::string(300, 'y') + "\n3\n4\n5\n6\n7\n8\n9\nTx\nTy\n";
  auto store = std::make_unique<PointStore>();
  auto table = std::make_unique<BlockTable>();
  Read r = ReadFile(file, *store, *table);
  EXPECT_EQ(r.blocks, (Blocks{{0, 1}}));
  EXPECT_EQ(store->text(0), "Ty\n");
}

TEST(Reader, LastLineWithoutLineEndIsStoredWithOne) {
  auto store = std::make_unique<PointStore>();
  auto table = std::make_unique<BlockTable>();
  ReadFile(kTenLines + "Ta\r\nTb\r", *store, *table);
  EXPECT_EQ(store->text(0), "Ta\n");
  EXPECT_EQ(store->text(1), "Tb\r\n");
}

TEST(Reader, NulBytesStayInsideThePoint) {
  auto store = std::make_unique<PointStore>();
  auto table = std::make_unique<BlockTable>();
  Read r = ReadFile(kTenLines + "Ta\0b\nTa\0c\n"s, *store, *table);
  EXPECT_EQ(store->text(0), "Ta\0b\n"s);
  EXPECT_NE(store->id(0), store->id(1));
  EXPECT_EQ(r.listing, "nstart 0  data Ta\0b\r\n  ndata 2\r\n"s);
}

TEST(Reader, PointLineLimitIs79CharactersWithItsLineEnd) {
  std::string ok = "T" + std::string(77, 'x') + "\n";
  std::string too_long = "T" + std::string(78, 'x') + "\n";
  EXPECT_FALSE(ReadBody(ok).status);
  Read r = ReadBody(too_long);
  ASSERT_TRUE(r.status);
  EXPECT_EQ(r.status->message, "Point line too long (f.dat)\n");
  // A last line whose added line end makes it 80 characters is too long too.
  r = ReadBody("T" + std::string(78, 'x'));
  ASSERT_TRUE(r.status);
  EXPECT_EQ(r.status->message, "Point line too long (f.dat)\n");
}

std::string Points(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += "T" + std::to_string(i) + "\n";
  return s;
}

TEST(Reader, StoreHolds4685PointsAndStopsAtThe4686th) {
  Read r = ReadBody(Points(4685));
  EXPECT_FALSE(r.status);
  EXPECT_EQ(r.blocks, (Blocks{{0, 4685}}));
  r = ReadBody(Points(4686));
  ASSERT_TRUE(r.status);
  EXPECT_EQ(r.status->message, "Too many points (f.dat)\n");
  // A too-long line at the 4686th point is reported as too long.
  r = ReadBody(Points(4685) + "T" + std::string(90, 'x') + "\n");
  ASSERT_TRUE(r.status);
  EXPECT_EQ(r.status->message, "Point line too long (f.dat)\n");
}

std::string Blocks650Plus(int nblocks) {
  std::string s;
  for (int b = 0; b < nblocks; ++b) s += "H\nH\nT" + std::to_string(b) + "\n";
  return s;
}

TEST(Reader, TableHolds650BlocksAndCountsThe651st) {
  Read r = ReadBody(Blocks650Plus(650));
  EXPECT_FALSE(r.status);
  EXPECT_EQ(r.blocks.size(), 650u);
  EXPECT_EQ(r.blocks.back(), std::make_pair(649, 1));
  r = ReadBody(Blocks650Plus(651));
  ASSERT_TRUE(r.status);
  EXPECT_EQ(r.status->message, "nblock > 650   (651)\n");
  r = ReadBody(Blocks650Plus(700));
  ASSERT_TRUE(r.status);
  EXPECT_EQ(r.status->message, "nblock > 650   (700)\n");
}

}  // namespace
}  // namespace linechain
