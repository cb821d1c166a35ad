#include "text/text_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "blocks/blocks.h"

namespace linechain {
namespace {

using namespace std::string_literals;

// Every line piece of `raw`, read in raw reads of `chunk` bytes.
std::vector<std::string> Pieces(const std::string& raw, size_t chunk = 1 << 20) {
  TextReader in;
  EXPECT_TRUE(in.open(std::make_unique<StringSource>(raw, chunk)));
  std::vector<std::string> out;
  std::string_view piece;
  while (in.read_line(piece)) out.emplace_back(piece);
  EXPECT_FALSE(in.failed());
  return out;
}

std::string Decoded(const std::string& raw, size_t chunk = 1 << 20) {
  std::string all;
  for (const auto& p : Pieces(raw, chunk)) all += p;
  return all;
}

TEST(TextReader, LineEndsAreDecodedAtEveryBufferBoundary) {
  struct Case {
    const char* name;
    std::string raw;
    std::string text;
  } cases[] = {
      {"crlf becomes lf", "ab\r\ncd\r\n", "ab\ncd\n"},
      {"bare lf stays", "ab\ncd\n", "ab\ncd\n"},
      {"lone cr is a byte", "a\rb\n", "a\rb\n"},
      {"cr cr lf keeps the first cr", "a\r\r\nb\n", "a\r\nb\n"},
      {"ctrl-z ends the text", "ab\n\x1A" "cd\n", "ab\n"},
      {"ctrl-z mid line gets a line end", "ab\x1A\n", "ab\n"},
      {"missing final line end added", "ab\ncd", "ab\ncd\n"},
      {"final cr stays a byte", "ab\r", "ab\r\n"},
      {"cr before ctrl-z stays a byte", "ab\r\x1A", "ab\r\n"},
      {"empty text", "", ""},
      {"only ctrl-z", "\x1A" "ab\n", ""},
      {"nul bytes are kept", std::string("a\0b\r\n", 5), std::string("a\0b\n", 4)},
  };
  for (const auto& c : cases) {
    for (size_t chunk : {size_t{1}, size_t{2}, size_t{3}, size_t{1} << 20}) {
      EXPECT_EQ(Decoded(c.raw, chunk), c.text) << c.name << ", raw reads of " << chunk;
    }
  }
}

TEST(TextReader, CrLfSplitAcrossTwoFullBufferFillsIsOneLineEnd) {
  // The CR is the last byte of the first raw read, the LF the first of the
  // next.
  std::string raw(TextReader::kBufferSize - 1, 'x');
  raw += "\r\nT\r\n";
  std::string want(TextReader::kBufferSize - 1, 'x');
  want += "\nT\n";
  EXPECT_EQ(Decoded(raw), want);
}

TEST(TextReader, LongLinesArriveAsPiecesOf255) {
  std::string l255(255, 'a'), l254(254, 'b'), l300(300, 'c');
  auto pieces = Pieces(l254 + "\n" + l255 + "\n" + l300 + "\n");
  std::vector<std::string> want = {l254 + "\n", l255, "\n", std::string(255, 'c'),
                                   std::string(45, 'c') + "\n"};
  EXPECT_EQ(pieces, want);
  // The same across tiny raw reads, where pieces are assembled.
  EXPECT_EQ(Pieces(l254 + "\n" + l255 + "\n" + l300 + "\n", 7), want);
}

TEST(TextReader, LinesAroundThePieceLimitEndAlike) {
  // Every kind of line end after lines of 250 to 260 bytes, so that it falls
  // before, on and after the piece limit; a CR that ends the text (at its
  // physical end or at 0x1A) is an ordinary byte followed by the added line
  // end.
  struct Ending {
    const char* name;
    std::string raw, text;
  } endings[] = {
      {"lf", "\n", "\n"},
      {"cr lf", "\r\n", "\n"},
      {"final cr", "\r", "\r\n"},
      {"cr before ctrl-z", "\r\x1A" "rest\n", "\r\n"},
  };
  for (const auto& e : endings) {
    for (size_t n = 250; n <= 260; ++n) {
      std::string text = std::string(n, 'x') + e.text;
      std::vector<std::string> want;
      for (size_t at = 0; at < text.size(); at += 255) want.push_back(text.substr(at, 255));
      for (size_t chunk : {size_t{1}, size_t{7}, size_t{1} << 20}) {
        EXPECT_EQ(Pieces(std::string(n, 'x') + e.raw, chunk), want)
            << e.name << " after " << n << " bytes, raw reads of " << chunk;
      }
    }
  }
}

TEST(TextReader, AddedFinalLineEndCountsTowardsThePieceLimit) {
  std::string l255(255, 'a');
  std::vector<std::string> want = {l255, "\n"};
  EXPECT_EQ(Pieces(l255), want);
}

TEST(TextReader, WordsAreSplitAtEveryKindOfWhiteSpace) {
  TextReader in;
  std::string raw = " a.dat\tb.dat\r\n\v\fc.dat d\xE9.dat\r\ne\0f x\x1Ag.dat"s;
  ASSERT_TRUE(in.open(std::make_unique<StringSource>(raw, 3)));
  std::vector<std::string> words;
  std::string w;
  while (in.read_word(w)) words.push_back(w);
  std::vector<std::string> want = {"a.dat", "b.dat", "c.dat", "d\xE9.dat",
                                   std::string("e\0f", 3), "x"};
  EXPECT_EQ(words, want);
}

// A source whose reads fail after `good` bytes.
class FailingSource : public ByteSource {
 public:
  explicit FailingSource(size_t good) : good_(good) {}
  size_t read(char* buf, size_t n) override {
    if (good_ == 0) {
      failed_ = true;
      return 0;
    }
    size_t take = n < good_ ? n : good_;
    for (size_t i = 0; i < take; ++i) buf[i] = (i % 10 == 9) ? '\n' : 'T';
    good_ -= take;
    return take;
  }

 private:
  size_t good_;
};

TEST(TextReader, ReadErrorIsReportedNotTakenForTheEnd) {
  TextReader in;
  EXPECT_FALSE(in.open(std::make_unique<FailingSource>(0))) << "fails at once";
  ASSERT_TRUE(in.open(std::make_unique<FailingSource>(100)));
  std::string_view piece;
  int lines = 0;
  while (in.read_line(piece)) ++lines;
  EXPECT_EQ(lines, 10);
  EXPECT_TRUE(in.failed());
}

}  // namespace
}  // namespace linechain
