// Plumbing the fuzz targets share: a console sink whose bytes outlive the run.
#pragma once

#include <string>

#include "text/io.h"

namespace linechain::fuzz {

class AppendSink : public ByteSink {
 public:
  /// `buffer` is the writer buffer size to ask for (0: the writer's own).
  explicit AppendSink(std::string& out, size_t buffer = 0) : out_(out), buffer_(buffer) {}
  bool write(const char* data, size_t n) override {
    out_.append(data, n);
    return true;
  }
  size_t buffer_limit() const override { return buffer_; }

 private:
  std::string& out_;
  size_t buffer_;
};

}  // namespace linechain::fuzz
