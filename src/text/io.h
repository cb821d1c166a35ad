// Byte sources and sinks under the text layer: files, standard output, and the
// in-memory ones tests use to see the exact bytes a stage writes.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace linechain {

/// Where raw bytes come from.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  /// Reads up to n bytes; returns how many (0 at the end). Sets failed() on
  /// a read error.
  virtual size_t read(char* buf, size_t n) = 0;
  bool failed() const { return failed_; }

 protected:
  bool failed_ = false;
};

/// Where raw bytes go.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  /// Writes all n bytes or returns false.
  virtual bool write(const char* data, size_t n) = 0;
  /// Releases the destination; false when that fails (the last bytes may be
  /// lost).
  virtual bool close() { return true; }
  /// Most bytes a writer should gather before writing them here; 0 leaves it
  /// to the writer. Tests ask for tiny buffers so that a failing write shows
  /// up in the very operation that made it.
  virtual size_t buffer_limit() const { return 0; }
};

/// A sink that appends everything to a string the caller owns; `buffer` is
/// the writer buffer size it asks for (0: the writer's own).
class StringSink : public ByteSink {
 public:
  explicit StringSink(std::string& out, size_t buffer = 0) : out_(out), buffer_(buffer) {}
  bool write(const char* data, size_t n) override {
    out_.append(data, n);
    return true;
  }
  size_t buffer_limit() const override { return buffer_; }

 private:
  std::string& out_;
  size_t buffer_;
};

/// A source that serves a string, in reads of at most `chunk` bytes so tests
/// can place buffer boundaries.
class StringSource : public ByteSource {
 public:
  explicit StringSource(std::string bytes, size_t chunk = 1 << 20)
      : bytes_(std::move(bytes)), chunk_(chunk) {}
  size_t read(char* buf, size_t n) override;

 private:
  std::string bytes_;
  size_t chunk_;
  size_t pos_ = 0;
};

}  // namespace linechain
