// The file system as the converter sees it: open a file for reading, create
// one for writing, tell whether two names reach the same file, and standard
// output. Tests put their own behind this to make any step fail.
#pragma once

#include <memory>
#include <string>

#include "text/io.h"

namespace linechain {

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  /// Null when the file cannot be opened for reading.
  virtual std::unique_ptr<ByteSource> open(const std::string& path) = 0;
  /// Creates (or empties) the file; null when that fails.
  virtual std::unique_ptr<ByteSink> create(const std::string& path) = 0;
  /// True when both names reach one existing file (the same name, a link,
  /// another spelling of the path).
  virtual bool same_file(const std::string& a, const std::string& b) = 0;
};

/// The real file system, in the working directory.
class DiskFileSystem : public FileSystem {
 public:
  std::unique_ptr<ByteSource> open(const std::string& path) override;
  std::unique_ptr<ByteSink> create(const std::string& path) override;
  bool same_file(const std::string& a, const std::string& b) override;
};

/// Standard output as raw bytes: no translation by the platform.
std::unique_ptr<ByteSink> standard_output();
/// Writes a last-resort message to standard error.
void report_to_stderr(const std::string& message);

}  // namespace linechain
