// Buffered text output; the LF -> CR LF translation happens while copying into
// the buffer, so the sink sees final bytes only.
#include "text/text_writer.h"

#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>

namespace linechain {

TextWriter::TextWriter() : buf_(new char[kCapacity]) {}
TextWriter::~TextWriter() { close(); }

void TextWriter::open(std::unique_ptr<ByteSink> sink) {
  sink_ = std::move(sink);
  used_ = 0;
  failed_ = false;
  size_t asked = sink_ ? sink_->buffer_limit() : 0;
  limit_ = asked == 0 || asked >= kBufferSize ? 0 : asked < 2 ? 2 : asked;
}

bool TextWriter::flush() {
  if (used_ > 0 && sink_ && !failed_ && !sink_->write(buf_.get(), used_)) failed_ = true;
  used_ = 0;
  return !failed_;
}

bool TextWriter::close() {
  if (!sink_) return !failed_;
  flush();
  if (!sink_->close()) failed_ = true;
  sink_.reset();
  return !failed_;
}

// Writes the first kBufferSize bytes and keeps the rest. Writing whole blocks
// keeps every write of a file at a multiple of kBufferSize from its start.
void TextWriter::write_block() {
  if (sink_ && !failed_ && !sink_->write(buf_.get(), kBufferSize)) failed_ = true;
  used_ -= kBufferSize;
  std::memmove(buf_.get(), buf_.get() + kBufferSize, used_);
}

namespace {

uint64_t load_word(const char* p) {
  uint64_t w;
  std::memcpy(&w, p, 8);
  return w;
}

/// 0x80 in the lowest byte of w that is an LF (and maybe in bytes above it),
/// 0 when there is none.
uint64_t lf_bytes(uint64_t w) {
  uint64_t x = w ^ 0x0A0A0A0A0A0A0A0Aull;
  return (x - 0x0101010101010101ull) & ~x & 0x8080808080808080ull;
}

// Copies [data, stop) to out with every LF as CR LF and returns the end of
// the copy. Eight bytes at a time: a word without LF is stored whole; in one
// with an LF the bytes up to it are kept, CR LF follows, and the next word
// starts after the LF. May store up to 8 bytes past the returned end.
char* encode(char* out, const char* data, const char* stop) {
  if constexpr (std::endian::native == std::endian::little) {
    while (stop - data >= 8) {
      uint64_t w = load_word(data);
      uint64_t lf = lf_bytes(w);
      std::memcpy(out, &w, 8);
      if (lf == 0) {
        out += 8;
        data += 8;
        continue;
      }
      int before = std::countr_zero(lf) / 8;
      out[before] = '\r';
      out[before + 1] = '\n';
      out += before + 2;
      data += before + 1;
    }
  }
  for (; data < stop; ++data) {
    if (*data == '\n') *out++ = '\r';
    *out++ = *data;
  }
  return out;
}

}  // namespace

// The plain copy for a sink that asked for a small buffer: a CR LF pair is
// never split, and a full buffer goes out within the call that filled it, so
// a failing write shows up in the operation that made it.
void TextWriter::put_limited(const char* data, size_t n) {
  while (n > 0) {
    if (limit_ - used_ < 2) flush();
    size_t room = (limit_ - used_) - 1;  // keep one byte for a CR
    size_t span = n < room ? n : room;
    const char* lf = static_cast<const char*>(std::memchr(data, '\n', span));
    size_t plain = lf ? static_cast<size_t>(lf - data) : span;
    std::memcpy(buf_.get() + used_, data, plain);
    used_ += plain;
    if (lf) {
      buf_[used_++] = '\r';
      buf_[used_++] = '\n';
      ++plain;
    }
    data += plain;
    n -= plain;
  }
  if (limit_ - used_ < 2) flush();
}

void TextWriter::put_long(const char* data, size_t n) {
  if (limit_) return put_limited(data, n);
  const char* end = data + n;
  while (data < end) {
    // Each byte takes at most two places in the buffer (an LF becomes CR LF),
    // and the copy may store 8 bytes past its end.
    size_t room = (kCapacity - used_ - 8) / 2;
    const char* stop = static_cast<size_t>(end - data) <= room ? end : data + room;
    used_ = static_cast<size_t>(encode(buf_.get() + used_, data, stop) - buf_.get());
    data = stop;
    if (used_ >= kBufferSize) write_block();
  }
}

void TextWriter::put_long_line(std::string_view body) {
  put_long(body.data(), body.size());
  put_long("\n", 1);
}

TextWriter& TextWriter::operator<<(int32_t n) {
  char digits[16];
  auto r = std::to_chars(digits, digits + sizeof digits, n);
  put(digits, static_cast<size_t>(r.ptr - digits));
  return *this;
}

TextWriter& operator<<(TextWriter& out, Padded p) {
  char digits[16];
  auto r = std::to_chars(digits, digits + sizeof digits, p.n);
  int len = static_cast<int>(r.ptr - digits);
  for (int i = len; i < p.width; ++i) out << ' ';
  return out << std::string_view(digits, static_cast<size_t>(len));
}

}  // namespace linechain
