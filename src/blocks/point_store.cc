// The point store: point lines kept whole in fixed slots, each given the id of
// its text through a small open-addressing hash table.
#include <cstring>

#include "blocks/blocks.h"

namespace linechain {
namespace {

// Hashes the whole line, line end and NUL bytes included, eight bytes at a
// time.
uint32_t hash_text(std::string_view s) {
  uint64_t h = 0x9E3779B97F4A7C15ull ^ s.size();
  size_t i = 0;
  for (; i + 8 <= s.size(); i += 8) {
    uint64_t w;
    std::memcpy(&w, s.data() + i, 8);
    h = (h ^ w) * 0xFF51AFD7ED558CCDull;
    h ^= h >> 32;
  }
  uint64_t tail = 0;
  std::memcpy(&tail, s.data() + i, s.size() - i);
  h = (h ^ tail) * 0xC4CEB9FE1A85EC53ull;
  h ^= h >> 29;
  return static_cast<uint32_t>(h);
}

}  // namespace

void PointStore::clear() {
  size_ = 0;
  distinct_ = 0;
  std::memset(table_, 0, sizeof table_);
}

void PointStore::add(std::string_view line) {
  int slot = size_++;
  std::memcpy(slots_[slot], line.data(), line.size());
  slots_[slot][line.size()] = '\0';
  len_[slot] = static_cast<uint8_t>(line.size());
  id_[slot] = intern(line, slot);
}

PointId PointStore::intern(std::string_view line, int slot) {
  uint32_t h = hash_text(line);
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

}  // namespace linechain
