#include "text/text_writer.h"

#include <gtest/gtest.h>

#include <string>

namespace linechain {
namespace {

using namespace std::string_literals;

// A sink that keeps its bytes where the test can see them after close().
class SharedSink : public ByteSink {
 public:
  explicit SharedSink(std::string& out, size_t fail_after = SIZE_MAX)
      : out_(out), left_(fail_after) {}
  bool write(const char* data, size_t n) override {
    if (n > left_) return false;
    left_ -= n;
    out_.append(data, n);
    return true;
  }

 private:
  std::string& out_;
  size_t left_;
};

TEST(TextWriter, EveryLfGoesOutAsCrLfAndNothingElseChanges) {
  std::string out;
  TextWriter w;
  w.open(std::make_unique<SharedSink>(out));
  w << "a\nb\r\n" << "\0\r\x1A\n"s << int32_t{-12} << ' ' << Padded{7, 3} << Padded{1234, 3};
  EXPECT_TRUE(w.close());
  EXPECT_EQ(out, "a\r\nb\r\r\n\0\r\x1A\r\n-12   71234"s);
}

TEST(TextWriter, LineEndsSurviveManyBufferFlushes) {
  std::string out, want, line = std::string(61, 'x') + "\n";
  TextWriter w;
  w.open(std::make_unique<SharedSink>(out));
  for (int i = 0; i < 5000; ++i) {
    w << line;
    want += std::string(61, 'x') + "\r\n";
  }
  EXPECT_TRUE(w.close());
  EXPECT_EQ(out, want);
}

TEST(TextWriter, FailedWriteIsStickyAndReportedByClose) {
  std::string out;
  TextWriter w;
  w.open(std::make_unique<SharedSink>(out, 10));
  w << std::string(TextWriter::kBufferSize, 'x');  // forces a flush that fails
  EXPECT_TRUE(w.failed());
  w << "more\n";
  EXPECT_FALSE(w.close());
  EXPECT_EQ(out, "");
}

class FailingClose : public ByteSink {
 public:
  bool write(const char*, size_t) override { return true; }
  bool close() override { return false; }
};

TEST(TextWriter, FailedCloseIsReported) {
  TextWriter w;
  w.open(std::make_unique<FailingClose>());
  w << "x\n";
  EXPECT_FALSE(w.close());
}

}  // namespace
}  // namespace linechain
