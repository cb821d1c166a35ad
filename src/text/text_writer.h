// Writing text with this program's line-end rule: every LF goes out as CR LF
// and no other byte changes. Used for track files and the console alike.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

#include "text/io.h"

namespace linechain {

class TextWriter {
 public:
  TextWriter();
  ~TextWriter();
  TextWriter(const TextWriter&) = delete;
  TextWriter& operator=(const TextWriter&) = delete;

  /// Starts writing to `sink`, which the writer closes. The buffer holds
  /// kBufferSize bytes, or fewer when the sink asks for that.
  void open(std::unique_ptr<ByteSink> sink);
  /// Writes out what is buffered and closes the sink. False when any write,
  /// the flush or the close failed.
  bool close();
  bool is_open() const { return sink_ != nullptr; }
  /// Writes out what is buffered; false when this or an earlier write failed.
  bool flush();
  /// True once a write to the sink failed; later output is dropped.
  bool failed() const { return failed_; }

  TextWriter& operator<<(std::string_view text) {
    put(text.data(), text.size());
    return *this;
  }
  TextWriter& operator<<(char c) { return *this << std::string_view(&c, 1); }
  TextWriter& operator<<(int32_t n);
  /// Writes `body`, which holds no LF, and a line end: the same bytes as
  /// writing the body and an LF, without searching the body.
  void put_line(std::string_view body) {
    size_t n = body.size();
    if (n < 8 || kCapacity - used_ < n + 2 || limit_) return put_long_line(body);
    char* out = buf_.get() + used_;
    for (size_t i = 0; i + 8 < n; i += 8) std::memcpy(out + i, body.data() + i, 8);
    std::memcpy(out + n - 8, body.data() + n - 8, 8);
    out[n] = '\r';
    out[n + 1] = '\n';
    used_ += n + 2;
    if (used_ >= kBufferSize) write_block();
  }

  /// Bytes of one write to the sink; the buffer is written out in blocks of
  /// this size (and whatever is left at a flush).
  static constexpr size_t kBufferSize = 64 * 1024;

 private:
  /// Labels, numbers and single characters, most of what is written, are
  /// copied here byte by byte; longer texts go through put_long.
  void put(const char* data, size_t n) {
    if (n > kShortText || kBufferSize - used_ < 2 * kShortText || limit_) return put_long(data, n);
    char* out = buf_.get() + used_;
    for (size_t i = 0; i < n; ++i) {
      if (data[i] == '\n') *out++ = '\r';
      *out++ = data[i];
    }
    used_ = static_cast<size_t>(out - buf_.get());
  }
  void put_long(const char* data, size_t n);
  void put_limited(const char* data, size_t n);
  void put_long_line(std::string_view body);
  void write_block();
  static constexpr size_t kShortText = 16;
  /// Room past a block for a text that crosses its end.
  static constexpr size_t kCapacity = kBufferSize + 4096;

  std::unique_ptr<ByteSink> sink_;
  std::unique_ptr<char[]> buf_;
  size_t used_ = 0;
  bool failed_ = false;
  /// The buffer size a sink asked for (at least 2), or 0 for kBufferSize.
  size_t limit_ = 0;
};

/// Formats n right-aligned in `width` columns, as the console reports do.
struct Padded {
  int32_t n;
  int width;
};
TextWriter& operator<<(TextWriter& out, Padded p);

}  // namespace linechain
