// Reading one data file into the point store and the block table, and the
// console listing of the blocks.
#pragma once

#include <string>

#include "blocks/blocks.h"
#include "blocks/status.h"
#include "text/text_reader.h"
#include "text/text_writer.h"

namespace linechain {

/// Skips the data file's first lines, stores its point lines and cuts them
/// into blocks at every even header line from the 4th on; closes `in`.
/// Fails on a point line too long for its slot, too many points, a read
/// error, or more blocks than the table holds. `name` is the data file's name
/// for the messages.
Status read_blocks(TextReader& in, const std::string& name, PointStore& store,
                   BlockTable& table);

/// Prints each block's start slot, first point and size, two lines a block.
void list_blocks(TextWriter& console, const PointStore& store, const BlockTable& table);

}  // namespace linechain
