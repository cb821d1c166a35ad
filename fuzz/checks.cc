#include "checks.h"

#include <cstdio>
#include <cstdlib>

namespace linechain::fuzz {
namespace {

// Bytes shown with their control characters spelled out.
std::string visible(const std::string& s, size_t from, size_t len) {
  std::string out;
  for (size_t i = from; i < s.size() && i < from + len; ++i) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (c == '\r') out += "\\r";
    else if (c == '\n') out += "\\n";
    else if (c < 0x20 || c >= 0x7F) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      out += buf;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

}  // namespace

void broken(const std::string& what, const std::string& expected, const std::string& got) {
  std::fprintf(stderr, "\n*** broken promise: %s\n", what.c_str());
  if (!expected.empty() || !got.empty()) {
    std::fprintf(stderr, "expected: %s\n", visible(expected, 0, 2000).c_str());
    std::fprintf(stderr, "got:      %s\n", visible(got, 0, 2000).c_str());
  }
  std::abort();
}

void expect_crlf_lines(const std::string& what, const std::string& bytes) {
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r'))
      broken(what + ": a line ends in a bare LF at byte " + std::to_string(i), "",
             visible(bytes, i > 40 ? i - 40 : 0, 80));
  }
  if (!bytes.empty() && bytes.back() != '\n')
    broken(what + ": the last line has no line end", "", visible(bytes, bytes.size() > 80 ? bytes.size() - 80 : 0, 80));
}

void expect_same(const std::string& what, const std::string& expected, const std::string& got) {
  if (expected == got) return;
  size_t i = 0;
  while (i < expected.size() && i < got.size() && expected[i] == got[i]) ++i;
  size_t from = i > 60 ? i - 60 : 0;
  broken(what + ": first difference at byte " + std::to_string(i) + " (sizes " +
             std::to_string(expected.size()) + " and " + std::to_string(got.size()) + ")",
         visible(expected, from, 160), visible(got, from, 160));
}

}  // namespace linechain::fuzz
