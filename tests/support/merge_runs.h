// Runs duplicate removal and chain building on a table of point texts, once
// with the program's code and once with the literal reference, capturing
// everything either shows: console, track bytes, marks and the table left.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace linechain::testing {

struct MergeRun {
  std::string console;
  std::string track;
  std::string failure;  // the message of a failed run, else empty
  std::vector<int> flag, dupof;  // after duplicate removal, numbers as read
  std::vector<std::pair<int, int>> table;  // (nstart, ndata) left after removal

  bool operator==(const MergeRun&) const = default;
};

enum class Stages { kDuplicates, kChains, kBoth };

/// Point texts (each with its LF) and the sizes of consecutive blocks.
MergeRun RunProgram(const std::vector<std::string>& points, const std::vector<int>& sizes,
                    Stages stages);
MergeRun RunLiteral(const std::vector<std::string>& points, const std::vector<int>& sizes,
                    Stages stages);

/// A printable account of a run, for failure messages.
std::string Describe(const MergeRun& r);

}  // namespace linechain::testing
