// The point store: point lines kept whole in fixed slots, each given the id of
// its text through a small open-addressing hash table.
#include <cstring>

#include "blocks/blocks.h"

namespace linechain {
namespace {

uint64_t load8(const char* p) {
  uint64_t w;
  std::memcpy(&w, p, 8);
  return w;
}

void store8(char* p, uint64_t w) { std::memcpy(p, &w, 8); }

uint64_t mix(uint64_t h, uint64_t w) {
  h = (h ^ w) * 0xFF51AFD7ED558CCDull;
  return h ^ (h >> 32);
}

// Copies the line into its slot and hashes it on the way, line end and NUL
// bytes included, in two lanes of eight bytes at a time. The last eight bytes
// are moved as one word even where they overlap the words before, so nothing
// past the line is read or written; lines under eight bytes go byte by byte.
uint32_t copy_and_hash(char* to, std::string_view line) {
  const char* from = line.data();
  size_t n = line.size();
  uint64_t a = 0x9E3779B97F4A7C15ull ^ n, b = 0xC2B2AE3D27D4EB4Full;
  if (n >= 8) {
    size_t i = 0;
    for (; i + 16 < n; i += 16) {
      uint64_t w0 = load8(from + i), w1 = load8(from + i + 8);
      store8(to + i, w0);
      store8(to + i + 8, w1);
      a = mix(a, w0);
      b = mix(b, w1);
    }
    if (i + 8 < n) {
      uint64_t w = load8(from + i);
      store8(to + i, w);
      a = mix(a, w);
    }
    uint64_t last = load8(from + n - 8);
    store8(to + n - 8, last);
    b = mix(b, last);
  } else {
    uint64_t w = 0;
    for (size_t i = 0; i < n; ++i) {
      to[i] = from[i];
      w |= static_cast<uint64_t>(static_cast<unsigned char>(from[i])) << (8 * i);
    }
    b = mix(b, w);
  }
  uint64_t h = (a ^ (b * 0xC4CEB9FE1A85EC53ull)) * 0x9E3779B97F4A7C15ull;
  return static_cast<uint32_t>(h ^ (h >> 29));
}

}  // namespace

void PointStore::clear() {
  size_ = 0;
  distinct_ = 0;
  std::memset(table_, 0, sizeof table_);
}

// Defined before its one caller, so that it is compiled into it.
inline PointId PointStore::intern(std::string_view line, int slot, uint32_t h) {
  for (uint32_t i = h & (kHashSlots - 1);; i = (i + 1) & (kHashSlots - 1)) {
    int32_t entry = table_[i];
    if (entry == 0) {
      PointId id = distinct_++;
      table_[i] = id + 1;
      hash_[id] = h;
      first_slot_[id] = slot;
      return id;
    }
    PointId id = entry - 1;
    if (hash_[id] == h && text(first_slot_[id]) == line) return id;
  }
}

void PointStore::add(std::string_view line) {
  int slot = size_++;
  uint32_t h = copy_and_hash(slots_[slot], line);
  size_t n = line.size();
  slots_[slot][n] = '\0';
  len_[slot] = static_cast<uint8_t>(n);
  one_line_[slot] = n > 0 && line[n - 1] == '\n' && !std::memchr(line.data(), '\n', n - 1);
  id_[slot] = intern(line, slot, h);
}

}  // namespace linechain
