// The in-memory byte source.
#include "text/io.h"

#include <cstring>

namespace linechain {

size_t StringSource::read(char* buf, size_t n) {
  size_t left = bytes_.size() - pos_;
  size_t take = n < left ? n : left;
  if (take > chunk_) take = chunk_;
  std::memcpy(buf, bytes_.data() + pos_, take);
  pos_ += take;
  return take;
}

}  // namespace linechain
