// Files through the C library's streams, unbuffered (the text layer buffers)
// and in binary mode (the text layer does the line ends). What differs per
// platform is behind platform/native.h.
#include "platform/files.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "platform/native.h"

namespace linechain {
namespace {

class FileSource : public ByteSource {
 public:
  explicit FileSource(std::FILE* f) : f_(f) { std::setvbuf(f_, nullptr, _IONBF, 0); }
  ~FileSource() override { std::fclose(f_); }
  size_t read(char* buf, size_t n) override {
    size_t got = std::fread(buf, 1, n, f_);
    if (got < n && std::ferror(f_)) failed_ = true;
    return got;
  }

 private:
  std::FILE* f_;
};

class FileSink : public ByteSink {
 public:
  FileSink(std::FILE* f, bool owned) : f_(f), owned_(owned) {
    std::setvbuf(f_, nullptr, _IONBF, 0);
  }
  ~FileSink() override { close(); }
  bool write(const char* data, size_t n) override {
    return f_ && std::fwrite(data, 1, n, f_) == n;
  }
  bool close() override {
    if (!f_) return true;
    bool ok = owned_ ? std::fclose(f_) == 0 : std::fflush(f_) == 0;
    f_ = nullptr;
    return ok;
  }

 private:
  std::FILE* f_;
  bool owned_;
};

}  // namespace

std::unique_ptr<ByteSource> DiskFileSystem::open(const std::string& path) {
  if (path.find('\0') != std::string::npos) return nullptr;
  std::FILE* f = native::open_file(native::to_path(path), native::Access::kRead);
  if (!f) return nullptr;
  return std::make_unique<FileSource>(f);
}

std::unique_ptr<ByteSink> DiskFileSystem::create(const std::string& path) {
  if (path.find('\0') != std::string::npos) return nullptr;
  std::FILE* f = native::open_file(native::to_path(path), native::Access::kWrite);
  if (!f) return nullptr;
  return std::make_unique<FileSink>(f, true);
}

bool DiskFileSystem::same_file(const std::string& a, const std::string& b) {
  if (a.find('\0') != std::string::npos || b.find('\0') != std::string::npos) return false;
  std::error_code ec;
  return std::filesystem::equivalent(native::to_path(a), native::to_path(b), ec) && !ec;
}

std::unique_ptr<ByteSink> standard_output() {
  native::set_binary_console();
  return std::make_unique<FileSink>(stdout, false);
}

void report_to_stderr(const std::string& message) {
  std::fputs(message.c_str(), stderr);
  std::fflush(stderr);
}

}  // namespace linechain
