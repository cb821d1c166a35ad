// Chain building: pass after pass, a chain grows from the lowest-numbered
// block left, greedily at both ends, and is written as one track.
#pragma once

#include <string_view>

#include "blocks/blocks.h"
#include "blocks/status.h"
#include "text/text_writer.h"

namespace linechain {

/// Writes every block with points into some track of `track`, one track and
/// one console line per pass. Blocks without points are left out first.
/// `base` names the tracks.
Status build_chains(const PointStore& store, BlockTable& table, std::string_view base,
                    TextWriter& track, TextWriter& console);

}  // namespace linechain
