// Duplicate removal and chain building written as plainly as they are
// described, with texts compared whole and reversals copied through the
// store: the reference the fast code in src/merge must match byte for byte.
#pragma once

#include <string>
#include <vector>

#include "blocks/status.h"
#include "text/text_writer.h"

namespace linechain::literal {

struct Table {
  std::vector<std::string> points;  // the point store, texts with their LF
  std::vector<int> nstart, ndata, flag, dupof;
  int nblock = 0, ntotal = 0;
};

/// `ndata` per block, points taken in order from `points`.
Table MakeTable(std::vector<std::string> points, const std::vector<int>& sizes);

Status RemoveDuplicates(Table& t, TextWriter& console);
Status BuildChains(Table& t, const std::string& base, TextWriter& track, TextWriter& console);

}  // namespace linechain::literal
