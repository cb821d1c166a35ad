// Reading raw bytes and handing them out as decoded text: CR LF pairs become
// LF (also across two raw reads), everything from the first 0x1A on is
// dropped, and a missing final line end is added. The bytes stay where they
// were read; a piece that ends in CR LF is handed out with its CR turned into
// the LF.
#include "text/text_reader.h"

#include <cstring>

#include "blocks/blocks.h"

namespace linechain {
static_assert(TextReader::kPieceSpan == static_cast<size_t>(kLinePiece) + 1);

// Room for a read of kBufferSize after fewer than kPieceSpan unread bytes,
// and for a line end added at the end of the text.
TextReader::TextReader() : buf_(new char[kPieceSpan + kBufferSize + 1]) {}
TextReader::~TextReader() = default;

bool TextReader::open(std::unique_ptr<ByteSource> source) {
  source_ = std::move(source);
  pos_ = end_ = 0;
  if (!source_) return false;
  done_ = failed_ = any_ = lone_cr_at_end_ = false;
  last_ = 0;
  // Reads until there is text: a lone CR may still be the start of a line end.
  do read_more();
  while (!done_ && end_ == 1 && buf_[0] == '\r');
  if (failed_) {
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

void TextReader::finish() {
  done_ = true;
  if (any_ && last_ != '\n') {
    lone_cr_at_end_ = last_ == '\r';
    buf_[end_++] = '\n';
  }
}

// One raw read, appended to the unread bytes.
void TextReader::read_more() {
  char* raw = buf_.get() + end_;
  size_t n = source_->read(raw, kBufferSize);
  if (source_->failed()) {
    failed_ = true;
    done_ = true;
    // A CR that ended the last good read waited for the next byte to tell
    // whether it starts a line end; it is lost with the failed read.
    if (end_ > pos_ && buf_[end_ - 1] == '\r') --end_;
    return;
  }
  if (n == 0) {
    finish();
    return;
  }
  const char* z = static_cast<const char*>(std::memchr(raw, kCtrlZ, n));
  if (z) n = static_cast<size_t>(z - raw);
  if (n > 0) {
    any_ = true;
    last_ = raw[n - 1];
  }
  end_ += n;
  if (z) finish();
}

// Moves the unread bytes to the front and reads until at least kPieceSpan
// are there or the text has ended.
void TextReader::refill() {
  size_t left = end_ - pos_;
  std::memmove(buf_.get(), buf_.get() + pos_, left);
  pos_ = 0;
  end_ = left;
  while (end_ < kPieceSpan && !done_) read_more();
}

// Any piece: also the ones cut at kLinePiece bytes, the last ones of the
// text, and those after a read error.
bool TextReader::read_piece(std::string_view& piece) {
  if (end_ - pos_ < kPieceSpan && !done_) refill();
  size_t avail = end_ - pos_;
  if (avail == 0) return false;
  char* start = buf_.get() + pos_;
  size_t span = avail < kPieceSpan ? avail : kPieceSpan;
  char* lf = static_cast<char*>(std::memchr(start, '\n', span));
  if (lf) {
    size_t before = static_cast<size_t>(lf - start);  // bytes before the LF
    bool pair = before > 0 && lf[-1] == '\r' &&
                !(lone_cr_at_end_ && lf == buf_.get() + end_ - 1);
    if (pair) {
      lf[-1] = '\n';
      piece = {start, before};
      pos_ += before + 1;
      return true;
    }
    if (before < static_cast<size_t>(kLinePiece)) {
      piece = {start, before + 1};
      pos_ += before + 1;
      return true;
    }
  }
  // No line end within the limit: a piece of kLinePiece bytes. Fewer are
  // left only after a read error, which loses the unfinished line.
  size_t take = avail < static_cast<size_t>(kLinePiece) ? avail : kLinePiece;
  if (failed_ && take < static_cast<size_t>(kLinePiece)) {
    pos_ = end_;
    return false;
  }
  piece = {start, take};
  pos_ += take;
  return true;
}

bool TextReader::is_space(unsigned char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool TextReader::read_word(std::string& word) {
  word.clear();
  for (;;) {
    // A CR as the last byte read may still pair with an LF to come.
    if (pos_ == end_ || (pos_ + 1 == end_ && !done_ && buf_[pos_] == '\r')) {
      if (!done_) refill();
      if (pos_ == end_) return !word.empty() && !failed_;
    }
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
