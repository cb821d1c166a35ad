// Duplicate block removal: a block that repeats an earlier one point for
// point, forwards or backwards, is dropped when the earlier block's scan
// reaches it.
#pragma once

#include "blocks/blocks.h"
#include "blocks/status.h"
#include "text/text_writer.h"

namespace linechain {

/// Marks repeats in `flag` and `dupof` (numbers of the table as read),
/// compacts the table, reports what was dropped on the console and sets
/// `nblock` and `ntotal` to the blocks left. Fails only if no block would be
/// left, which the scan rules never allow.
Status remove_duplicates(const PointStore& store, BlockTable& table, TextWriter& console);

}  // namespace linechain
