// A file system in memory for tests and fuzzing: files are strings, and any
// open, read, create, write or close can be made to fail.
#pragma once

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "platform/files.h"

namespace linechain {

class MemoryFileSystem : public FileSystem {
 public:
  /// Path -> bytes of every file; a track file appears here when created and
  /// grows with every write that reaches its sink.
  std::map<std::string, std::string> files;
  /// Paths that cannot be opened although they exist (a directory, say).
  std::map<std::string, bool> unreadable;
  /// Path -> bytes after which reads of that file fail.
  std::map<std::string, size_t> read_fails_after;
  /// Path -> bytes after which writes to that file fail.
  std::map<std::string, size_t> write_fails_after;
  /// Paths whose close fails.
  std::map<std::string, bool> close_fails;
  /// Paths that cannot be created.
  std::map<std::string, bool> uncreatable;
  /// Pairs of names that reach the same file (besides equal names).
  std::map<std::string, std::string> aliases;
  /// The buffer size created files ask their writers for (0: the writers'
  /// own); 2 makes every write reach the file at once, so a write failure
  /// surfaces in the operation that caused it.
  size_t writer_buffer = 0;
  /// Most bytes one read of any file returns, to place the boundaries of the
  /// reader's raw reads.
  size_t read_chunk = SIZE_MAX;

  std::unique_ptr<ByteSource> open(const std::string& path) override {
    auto it = files.find(path);
    if (it == files.end() || unreadable.count(path)) return nullptr;
    auto fail = read_fails_after.find(path);
    size_t limit = fail == read_fails_after.end() ? SIZE_MAX : fail->second;
    return std::make_unique<Source>(it->second, limit, read_chunk);
  }

  std::unique_ptr<ByteSink> create(const std::string& path) override {
    if (uncreatable.count(path)) return nullptr;
    files[path].clear();
    auto fail = write_fails_after.find(path);
    size_t limit = fail == write_fails_after.end() ? SIZE_MAX : fail->second;
    return std::make_unique<Sink>(files[path], limit, close_fails.count(path) > 0,
                                  writer_buffer);
  }

  bool same_file(const std::string& a, const std::string& b) override {
    if (!files.count(a) || !files.count(b)) return false;
    if (a == b) return true;
    auto it = aliases.find(a);
    return it != aliases.end() && it->second == b;
  }

 private:
  class Source : public ByteSource {
   public:
    Source(std::string bytes, size_t limit, size_t chunk)
        : bytes_(std::move(bytes)), limit_(limit), chunk_(chunk) {}
    size_t read(char* buf, size_t n) override {
      if (pos_ >= limit_ && pos_ < bytes_.size()) {
        failed_ = true;
        return 0;
      }
      size_t take = std::min({n, bytes_.size() - pos_, limit_ - pos_, chunk_});
      std::memcpy(buf, bytes_.data() + pos_, take);
      pos_ += take;
      return take;
    }

   private:
    std::string bytes_;
    size_t limit_;
    size_t chunk_;
    size_t pos_ = 0;
  };

  class Sink : public ByteSink {
   public:
    Sink(std::string& out, size_t limit, bool close_fails, size_t buffer)
        : out_(out), left_(limit), close_fails_(close_fails), buffer_(buffer) {}
    bool write(const char* data, size_t n) override {
      size_t take = std::min(n, left_);
      out_.append(data, take);
      left_ -= take;
      return take == n;
    }
    bool close() override { return !close_fails_; }
    size_t buffer_limit() const override { return buffer_; }

   private:
    std::string& out_;
    size_t left_;
    bool close_fails_;
    size_t buffer_;
  };
};

}  // namespace linechain
