// The batch driver: walks datlist.txt and converts every data file it names
// into its track file.
#pragma once

#include <memory>

#include "platform/files.h"
#include "text/io.h"

namespace linechain {

/// Runs the whole batch in the working directory of `files`, writing the
/// console output to `console`. Returns the exit status: 0 after the last
/// entry, 1 at the first failure.
int run_batch(FileSystem& files, std::unique_ptr<ByteSink> console);

}  // namespace linechain
