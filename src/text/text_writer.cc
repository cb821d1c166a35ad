// Buffered text output; the LF -> CR LF translation happens while copying into
// the buffer, so the sink sees final bytes only.
#include "text/text_writer.h"

#include <charconv>
#include <cstring>

namespace linechain {

TextWriter::TextWriter() : buf_(new char[kCapacity]) {}
TextWriter::~TextWriter() { close(); }

void TextWriter::open(std::unique_ptr<ByteSink> sink) {
  sink_ = std::move(sink);
  used_ = 0;
  failed_ = false;
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

void TextWriter::put_long(const char* data, size_t n) {
  const char* end = data + n;
  while (data < end) {
    // Each byte takes at most two places in the buffer (an LF becomes CR LF).
    size_t room = (kCapacity - used_) / 2;
    const char* stop = static_cast<size_t>(end - data) <= room ? end : data + room;
    char* out = buf_.get() + used_;
    while (data < stop) {
      size_t left = static_cast<size_t>(stop - data);
      const char* lf = static_cast<const char*>(std::memchr(data, '\n', left));
      size_t plain = lf ? static_cast<size_t>(lf - data) : left;
      std::memcpy(out, data, plain);
      out += plain;
      data += plain;
      if (lf) {
        *out++ = '\r';
        *out++ = '\n';
        ++data;
      }
    }
    used_ = static_cast<size_t>(out - buf_.get());
    if (used_ >= kBufferSize) write_block();
  }
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
