#include "merge/dedup.h"

#include <gtest/gtest.h>

#include "support/merge_runs.h"
#include "support/merge_runs_fixtures.h"

namespace linechain::testing {
namespace {

using Table = std::vector<std::pair<int, int>>;

std::string Entries(int from, int to) {  // " %3d<-%3d  " for i<-i-1, i = from..to
  std::string s;
  for (int i = from; i <= to; ++i) {
    std::string a = std::to_string(i), b = std::to_string(i - 1);
    s += " " + std::string(3 - a.size(), ' ') + a + "<-" + std::string(3 - b.size(), ' ') + b + "  ";
  }
  return s;
}

TEST(Dedup, ScanMarksRepeatsAndStopsWhereItMust) {
  struct Case {
    const char* name;
    std::vector<std::string> blocks;
    std::string console;
    Table left;
  } cases[] = {
      {"forward copy", {"abc", "abc"}, "Tautological data deleted (1)\r\n   1<-  0  \r\n", {{0, 3}}},
      {"reverse copy", {"pqr", "rqp"}, "Tautological data deleted (1)\r\n   1<-  0  \r\n", {{0, 3}}},
      {"scan stops at a block of another size", {"abcde", "abc", "abcde"}, "",
       {{0, 5}, {5, 3}, {8, 5}}},
      {"three equal blocks chain their marks", {"ab", "ab", "ab"},
       "Tautological data deleted (2)\r\n   1<-  0     2<-  1  \r\n", {{0, 2}}},
      {"scan passes a non-copy, next scan stops at the marked block", {"ab", "ab", "cd", "ab"},
       "Tautological data deleted (2)\r\n   1<-  0     3<-  1  \r\n", {{0, 2}, {4, 2}}},
      {"one position differs", {"abc", "abd", "cbx"}, "", {{0, 3}, {3, 3}, {6, 3}}},
      {"scan from a marked block still marks", {"ab", "ab", "ba"},
       "Tautological data deleted (2)\r\n   1<-  0     2<-  1  \r\n", {{0, 2}}},
      {"empty blocks side by side", {"", ""}, "Tautological data deleted (1)\r\n   1<-  0  \r\n",
       {{0, 0}}},
      {"empty blocks apart", {"", "a", ""}, "", {{0, 0}, {0, 1}, {1, 0}}},
      {"eleven repeats: ten entries, then one", std::vector<std::string>(12, "a"),
       "Tautological data deleted (11)\r\n" + Entries(1, 10) + "\r\n" + Entries(11, 11) + "\r\n",
       {{0, 1}}},
      {"ten repeats end with an empty line", std::vector<std::string>(11, "a"),
       "Tautological data deleted (10)\r\n" + Entries(1, 10) + "\r\n\r\n", {{0, 1}}},
  };
  for (const auto& c : cases) {
    Letters l = FromLetters(c.blocks);
    MergeRun r = RunProgram(l.points, l.sizes, Stages::kDuplicates);
    EXPECT_EQ(r.console, c.console) << c.name;
    EXPECT_EQ(r.table, c.left) << c.name;
    EXPECT_EQ(r.failure, "") << c.name;
    EXPECT_EQ(r, RunLiteral(l.points, l.sizes, Stages::kDuplicates)) << c.name;
  }
}

TEST(Dedup, MatchesTheLiteralScanOnRandomTables) {
  Random random(20261211);
  for (int round = 0; round < 3000; ++round) {
    Letters l = RandomLetters(random, 40);
    MergeRun fast = RunProgram(l.points, l.sizes, Stages::kDuplicates);
    MergeRun literal = RunLiteral(l.points, l.sizes, Stages::kDuplicates);
    ASSERT_EQ(fast, literal) << "round " << round << "\nprogram " << Describe(fast)
                             << "\nliteral " << Describe(literal);
  }
}

TEST(Dedup, MatchesTheLiteralScanOnTheLongestScans) {
  // 650 blocks of one size sharing all but their last point: every scan runs
  // to the end of the table, and nothing repeats.
  std::vector<std::string> points;
  std::vector<int> sizes;
  for (int b = 0; b < 650; ++b) {
    for (int m = 0; m < 6; ++m) points.push_back("T shared " + std::to_string(m) + "\n");
    points.push_back("T last " + std::to_string(b) + "\n");
    sizes.push_back(7);
  }
  MergeRun fast = RunProgram(points, sizes, Stages::kDuplicates);
  EXPECT_EQ(fast.console, "");
  EXPECT_EQ(fast, RunLiteral(points, sizes, Stages::kDuplicates));
}

}  // namespace
}  // namespace linechain::testing
