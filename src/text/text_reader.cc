// Decoding raw bytes into text: CR LF pairs become LF (also across two raw
// reads), everything from the first 0x1A on is dropped, and a missing final
// line end is added.
#include "text/text_reader.h"

#include <cstring>

#include "blocks/blocks.h"

namespace linechain {

// Two spare bytes: a pending CR emitted ahead of a read, and a line end added
// at the end of the text.
TextReader::TextReader() : buf_(new char[kBufferSize + 2]) {}
TextReader::~TextReader() = default;

bool TextReader::open(std::unique_ptr<ByteSource> source) {
  source_ = std::move(source);
  pos_ = end_ = 0;
  if (!source_) return false;
  done_ = failed_ = pending_cr_ = any_ = last_lf_ = false;
  if (!fill() && failed_) {
    close();
    return false;
  }
  return true;
}

void TextReader::close() {
  source_.reset();
  pos_ = end_ = 0;
  done_ = true;
}

size_t TextReader::decode(char* out, const char* in, size_t n) {
  size_t m = 0;
  if (pending_cr_ && n > 0) {
    pending_cr_ = false;
    if (in[0] != '\n') out[m++] = '\r';
  }
  if (n > 0 && in[n - 1] == '\r') {
    pending_cr_ = true;
    --n;
  }
  const char* p = in;
  const char* stop = in + n;
  while (p < stop) {
    const char* cr =
        static_cast<const char*>(std::memchr(p, '\r', static_cast<size_t>(stop - p)));
    const char* seg_end = cr ? cr : stop;
    std::memmove(out + m, p, static_cast<size_t>(seg_end - p));
    m += static_cast<size_t>(seg_end - p);
    if (!cr) break;
    // A CR before LF is dropped; any other CR is an ordinary byte.
    if (cr[1] != '\n') out[m++] = '\r';
    p = cr + 1;
  }
  return m;
}

void TextReader::finish() {
  done_ = true;
  if (pending_cr_) {
    pending_cr_ = false;
    buf_[end_++] = '\r';
    any_ = true;
    last_lf_ = false;
  }
  if (any_ && !last_lf_) {
    buf_[end_++] = '\n';
    last_lf_ = true;
  }
}

// Replaces the consumed buffer with the next decoded bytes; false when none
// are left. Raw bytes are read to buf_ + 1 and decoded in place, which never
// overtakes the reading position; the spare byte takes a pending CR.
bool TextReader::fill() {
  pos_ = end_ = 0;
  while (end_ == 0 && !done_) {
    char* raw = buf_.get() + 1;
    size_t n = source_->read(raw, kBufferSize);
    if (source_->failed()) {
      failed_ = true;
      done_ = true;
      return false;
    }
    if (n == 0) {
      finish();
      break;
    }
    const char* z = static_cast<const char*>(std::memchr(raw, kCtrlZ, n));
    if (z) n = static_cast<size_t>(z - raw);
    end_ = decode(buf_.get(), raw, n);
    if (end_ > 0) {
      any_ = true;
      last_lf_ = buf_[end_ - 1] == '\n';
    }
    if (z) finish();
  }
  return end_ > 0;
}

bool TextReader::read_line(std::string_view& piece) {
  size_t have = 0;  // bytes already gathered in piece_
  for (;;) {
    if (pos_ == end_ && !fill()) {
      if (have == 0 || failed_) return false;
      piece = {piece_, have};
      return true;
    }
    size_t want = static_cast<size_t>(kLinePiece) - have;
    size_t avail = end_ - pos_;
    size_t span = avail < want ? avail : want;
    const char* start = buf_.get() + pos_;
    const char* lf = static_cast<const char*>(std::memchr(start, '\n', span));
    size_t take = lf ? static_cast<size_t>(lf - start) + 1 : span;
    pos_ += take;
    if (have == 0 && (lf || take == want)) {
      piece = {start, take};
      return true;
    }
    std::memcpy(piece_ + have, start, take);
    have += take;
    if (lf || have == static_cast<size_t>(kLinePiece)) {
      piece = {piece_, have};
      return true;
    }
  }
}

bool TextReader::is_space(unsigned char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool TextReader::read_word(std::string& word) {
  word.clear();
  for (;;) {
    if (pos_ == end_ && !fill()) return !word.empty() && !failed_;
    unsigned char c = static_cast<unsigned char>(buf_[pos_]);
    if (is_space(c)) {
      if (!word.empty()) return true;
    } else {
      word.push_back(static_cast<char>(c));
    }
    ++pos_;
  }
}

}  // namespace linechain
