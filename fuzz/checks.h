// What the fuzz targets assert about the bytes a run leaves behind. A broken
// promise prints what was expected and what came, then aborts, which the fuzz
// engine records as a crash with the input that caused it.
#pragma once

#include <string>

namespace linechain::fuzz {

[[noreturn]] void broken(const std::string& what, const std::string& expected = "",
                         const std::string& got = "");

/// Every LF of `bytes` comes right after a CR, and the last line is complete.
void expect_crlf_lines(const std::string& what, const std::string& bytes);

/// Equal bytes, or a report of the first difference.
void expect_same(const std::string& what, const std::string& expected, const std::string& got);

}  // namespace linechain::fuzz
