// Small tables for the merge tests: blocks written as strings of letters, one
// point per letter ("ab" is the block of points "Ta" and "Tb").
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace linechain::testing {

struct Letters {
  std::vector<std::string> points;
  std::vector<int> sizes;
};

inline Letters FromLetters(const std::vector<std::string>& blocks) {
  Letters l;
  for (const auto& b : blocks) {
    for (char c : b) l.points.push_back(std::string("T") + c + "\n");
    l.sizes.push_back(static_cast<int>(b.size()));
  }
  return l;
}

/// A deterministic generator, the same on every platform.
class Random {
 public:
  explicit Random(uint64_t seed) : s_(seed * 0x9E3779B97F4A7C15ull + 1) {}
  /// A number from 0 to n - 1.
  int below(int n) {
    s_ ^= s_ << 13;
    s_ ^= s_ >> 7;
    s_ ^= s_ << 17;
    return static_cast<int>(s_ % static_cast<uint64_t>(n));
  }

 private:
  uint64_t s_;
};

/// A random table over a small pool of point texts, so that end points
/// coincide often and repeats are common.
inline Letters RandomLetters(Random& r, int max_blocks) {
  int pool = 2 + r.below(5), nblocks = 1 + r.below(max_blocks);
  std::vector<std::string> blocks;
  for (int b = 0; b < nblocks; ++b) {
    int size = r.below(8) == 0 ? 0 : 1 + r.below(4);
    std::string s;
    for (int m = 0; m < size; ++m) s += static_cast<char>('a' + r.below(pool));
    // Now and then an exact or reversed copy of the block before.
    if (!blocks.empty() && r.below(4) == 0) {
      s = blocks.back();
      if (r.below(2)) s.assign(s.rbegin(), s.rend());
    }
    blocks.push_back(s);
  }
  return FromLetters(blocks);
}

}  // namespace linechain::testing
