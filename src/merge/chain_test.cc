#include "merge/chain.h"

#include <gtest/gtest.h>

#include "support/merge_runs.h"
#include "support/merge_runs_fixtures.h"

namespace linechain::testing {
namespace {

// The track file bytes after the file header for tracks named "b".
std::string Tracks(const std::vector<std::string>& tracks) {
  std::string s;
  int n = 0;
  for (const auto& t : tracks) {
    s += "\r\nH b(" + std::to_string(++n) + ")\r\n\r\nH  Latitude     Longitude\r\n";
    for (char c : t) s += std::string("T") + c + "\r\n";
  }
  return s;
}

TEST(Chain, BlocksJoinInTheOrderOfTheFourTests) {
  struct Case {
    const char* name;
    std::vector<std::string> blocks;
    std::string console;
    std::vector<std::string> tracks;  // point letters as written
  } cases[] = {
      {"one block", {"abc"}, "0 REMAIN BLOCK:1\r\n", {"abc"}},
      {"appended in file order", {"ab", "bc", "cd"}, "0 REMAIN BLOCK:3\r\n", {"abbccd"}},
      {"prepended, joint written twice", {"ab", "xa"}, "0 REMAIN BLOCK:2\r\n", {"xaab"}},
      {"prepended twice", {"ab", "xa", "yx"}, "0 REMAIN BLOCK:3\r\n", {"yxxaab"}},
      {"reversed and prepended", {"ab", "ax"}, "0 REMAIN BLOCK:2\r\n", {"xaab"}},
      {"reversed and appended", {"ab", "xb"}, "0 REMAIN BLOCK:2\r\n", {"abbx"}},
      {"fits both ends: append wins", {"ab", "ba"}, "0 REMAIN BLOCK:2\r\n", {"abba"}},
      {"fits head twice: plain prepend wins", {"ab", "aa"}, "0 REMAIN BLOCK:2\r\n", {"aaab"}},
      {"lower-numbered block wins over a later fit", {"ab", "ca", "bc"}, "0 REMAIN BLOCK:3\r\n",
       {"caabbc"}},
      {"two tracks", {"ab", "bc", "xy", "yz"}, "0 REMAIN BLOCK:4\r\n1 REMAIN BLOCK:2\r\n",
       {"abbc", "xyyz"}},
      {"a block touching nothing is its own track", {"ab", "xy", "bc"},
       "0 REMAIN BLOCK:3\r\n1 REMAIN BLOCK:1\r\n", {"abbc", "xy"}},
      {"tracks of 4, 2 and 1 blocks", {"ab", "xy", "bc", "q", "cd", "yz", "de"},
       "0 REMAIN BLOCK:7\r\n1 REMAIN BLOCK:3\r\n2 REMAIN BLOCK:1\r\n", {"abbccdde", "xyyz", "q"}},
      {"second pass starts at the lowest block left", {"ab", "xy", "bc", "zx"},
       "0 REMAIN BLOCK:4\r\n1 REMAIN BLOCK:2\r\n", {"abbc", "zxxy"}},
      {"blocks without points are left out", {"", "ab", "", "bc", ""}, "0 REMAIN BLOCK:2\r\n",
       {"abbc"}},
      {"only blocks without points: no track", {"", ""}, "", {}},
  };
  for (const auto& c : cases) {
    Letters l = FromLetters(c.blocks);
    MergeRun r = RunProgram(l.points, l.sizes, Stages::kChains);
    EXPECT_EQ(r.console, c.console) << c.name;
    EXPECT_EQ(r.track, Tracks(c.tracks)) << c.name;
    EXPECT_EQ(r.failure, "") << c.name;
    EXPECT_EQ(r, RunLiteral(l.points, l.sizes, Stages::kChains)) << c.name;
  }
}

TEST(Chain, MatchesTheLiteralPassesOnRandomTables) {
  Random random(7);
  for (int round = 0; round < 3000; ++round) {
    Letters l = RandomLetters(random, 40);
    for (Stages s : {Stages::kChains, Stages::kBoth}) {
      MergeRun fast = RunProgram(l.points, l.sizes, s);
      MergeRun literal = RunLiteral(l.points, l.sizes, s);
      ASSERT_EQ(fast, literal) << "round " << round << "\nprogram " << Describe(fast)
                               << "\nliteral " << Describe(literal);
    }
  }
}

// The worst cases for chain building: a table at its limits whose blocks
// touch nothing (one track each), and long chains given shuffled and half
// reversed.
TEST(Chain, MatchesTheLiteralPassesAtTheLimits) {
  std::vector<std::string> apart, chained;
  std::vector<int> sizes(650, 2);
  for (int b = 0; b < 650; ++b) {
    apart.push_back("T start " + std::to_string(b) + "\n");
    apart.push_back("T end " + std::to_string(b) + "\n");
  }
  Random random(3);
  std::vector<int> order(650);
  for (int b = 0; b < 650; ++b) order[static_cast<size_t>(b)] = b;
  for (int b = 649; b > 0; --b) std::swap(order[static_cast<size_t>(b)], order[static_cast<size_t>(random.below(b + 1))]);
  for (int b : order) {
    // Block b runs from joint b to joint b + 1, within one of five chains.
    std::string from = "T joint " + std::to_string(b % 130 == 0 ? b + 1000 : b) + "\n";
    std::string to = "T joint " + std::to_string(b + 1) + "\n";
    if (random.below(2)) std::swap(from, to);
    chained.push_back(from);
    chained.push_back(to);
  }
  for (const auto* points : {&apart, &chained}) {
    MergeRun fast = RunProgram(*points, sizes, Stages::kBoth);
    EXPECT_EQ(fast, RunLiteral(*points, sizes, Stages::kBoth));
  }
}

}  // namespace
}  // namespace linechain::testing
