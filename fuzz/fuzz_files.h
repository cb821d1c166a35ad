// Plumbing the fuzz targets share: a console sink whose bytes outlive the run.
#pragma once

#include <string>

#include "text/io.h"

namespace linechain::fuzz {

class AppendSink : public ByteSink {
 public:
  explicit AppendSink(std::string& out) : out_(out) {}
  bool write(const char* data, size_t n) override {
    out_.append(data, n);
    return true;
  }

 private:
  std::string& out_;
};

}  // namespace linechain::fuzz
