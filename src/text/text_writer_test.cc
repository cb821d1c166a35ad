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

namespace linechain {
namespace {

// A sink that asks for a small buffer and fails after `fail_after` bytes.
class SmallBufferSink : public SharedSink {
 public:
  SmallBufferSink(std::string& out, size_t buffer, size_t fail_after = SIZE_MAX)
      : SharedSink(out, fail_after), buffer_(buffer) {}
  size_t buffer_limit() const override { return buffer_; }

 private:
  size_t buffer_;
};

TEST(TextWriter, SmallBuffersNeverSplitOrLoseALineEnd) {
  // LFs at every offset against every buffer boundary: the bytes must not
  // depend on the buffer size, a CR LF pair included.
  const std::string text = "\n\nab\ncde\n\r\nfghi\n" + std::string(7, '\n') + "j\rk";
  std::string want = "\r\n\r\nab\r\ncde\r\n\r\r\nfghi\r\n";
  for (int i = 0; i < 7; ++i) want += "\r\n";
  want += "j\rk";
  for (size_t buffer : {size_t{1}, size_t{2}, size_t{3}, size_t{4}, size_t{5}, size_t{9}}) {
    std::string out;
    TextWriter w;
    w.open(std::make_unique<SmallBufferSink>(out, buffer));
    for (char c : text) w << c;  // byte by byte
    w << text;                    // and at once
    EXPECT_TRUE(w.close()) << "buffer " << buffer;
    EXPECT_EQ(out, want + want) << "buffer " << buffer;
  }
}

TEST(TextWriter, WithATinyBufferAWriteFailsInTheCallThatMadeIt) {
  std::string out;
  TextWriter w;
  w.open(std::make_unique<SmallBufferSink>(out, 2, 5));
  w << "abc";
  EXPECT_EQ(out, "abc") << "a tiny buffer hands bytes on at once";
  EXPECT_FALSE(w.failed());
  w << "d\n";  // the CR LF would be bytes 5 and 6: the sink refuses it
  EXPECT_TRUE(w.failed());
  w << "more\n";
  EXPECT_FALSE(w.close());
  EXPECT_EQ(out, "abcd") << "nothing after the failed write";
}

}  // namespace
}  // namespace linechain
