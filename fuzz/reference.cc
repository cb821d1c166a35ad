#include "reference.h"

#include <algorithm>
#include <cstdio>
#include <map>

namespace linechain::fuzz {
namespace {

constexpr int kSkipped = 10;
constexpr size_t kPiece = 255;
constexpr size_t kLongestPoint = 79;
constexpr int kMostPoints = 4685;
constexpr int kMostBlocks = 650;

std::string padded3(int n) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%3d", n);
  return buf;
}

// Splits decoded text into what one bounded line read returns each time.
std::vector<std::string> pieces_of(const std::string& text) {
  std::vector<std::string> out;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t lf = text.find('\n', pos);
    size_t len = lf == std::string::npos ? text.size() - pos : lf - pos + 1;
    len = std::min(len, kPiece);
    out.push_back(text.substr(pos, len));
    pos += len;
  }
  return out;
}

struct Table {
  std::vector<int> nstart, ndata, orig;
  int size() const { return static_cast<int>(nstart.size()); }
  void push(int s, int n, int o) {
    nstart.push_back(s);
    ndata.push_back(n);
    orig.push_back(o);
  }
};

void read_blocks(const std::string& name, const std::string& raw, RefConversion& r) {
  std::vector<std::string> pieces = pieces_of(decode_text(raw));
  int headers = 0, open = 0, boundaries = 0;
  auto close_block = [&](int b) {
    if (b < kMostBlocks) {
      r.blocks.resize(static_cast<size_t>(b) + 1);
      r.blocks[static_cast<size_t>(b)] = {static_cast<int>(r.points.size()) - open, open};
    }
    open = 0;
  };
  for (size_t i = kSkipped; i < pieces.size(); ++i) {
    const std::string& line = pieces[i];
    if (line[0] == 'H') {
      if (++headers >= 4 && headers % 2 == 0) close_block(boundaries++);
    } else if (line[0] == 'T') {
      if (line.size() > kLongestPoint) {
        r.failure = "Point line too long (" + name + ")\n";
        return;
      }
      if (static_cast<int>(r.points.size()) == kMostPoints) {
        r.failure = "Too many points (" + name + ")\n";
        return;
      }
      r.points.push_back(line);
      ++open;
    }
  }
  close_block(boundaries);
  if (boundaries + 1 > kMostBlocks)
    r.failure = "nblock > 650   (" + std::to_string(boundaries + 1) + ")\n";
}

bool same_points(const RefConversion& r, const RefBlock& a, const RefBlock& b, bool backwards) {
  if (a.ndata != b.ndata) return false;
  for (int m = 0; m < a.ndata; ++m) {
    int ma = backwards ? a.ndata - 1 - m : m;
    if (r.points[static_cast<size_t>(a.nstart + ma)] != r.points[static_cast<size_t>(b.nstart + m)])
      return false;
  }
  return true;
}

// The duplicate scan: from each block, stop at the first later block that is
// marked or of another size; mark at most one repeat.
void remove_duplicates(RefConversion& r) {
  int n = static_cast<int>(r.blocks.size());
  for (int i = 0; i + 1 < n; ++i) {
    const RefBlock& a = r.blocks[static_cast<size_t>(i)];
    for (int j = i + 1; j < n; ++j) {
      const RefBlock& b = r.blocks[static_cast<size_t>(j)];
      if (r.dupof[static_cast<size_t>(j)] >= 0 || b.ndata != a.ndata) break;
      if (same_points(r, a, b, false) || same_points(r, a, b, true)) {
        r.dupof[static_cast<size_t>(j)] = i;
        break;
      }
    }
  }
  int dropped = 0;
  for (int d : r.dupof) dropped += d >= 0;
  if (dropped == 0) return;
  r.console += "Tautological data deleted (" + std::to_string(dropped) + ")\n";
  int entries = 0;
  for (int i = 0; i < n; ++i) {
    if (r.dupof[static_cast<size_t>(i)] < 0) continue;
    r.console += " " + padded3(i) + "<-" + padded3(r.dupof[static_cast<size_t>(i)]) + "  ";
    if (++entries % 10 == 0) r.console += "\n";
  }
  r.console += "\n";
}

// Chain building pass after pass, every attempt walking every free block.
// Points are compared by a number given to each distinct text, which keeps the
// walk fast enough for fuzzing.
void build_chains(const std::string& base, RefConversion& r) {
  std::map<std::string, int> numbers;
  std::vector<const std::string*> texts;
  std::vector<int> pts;  // reversals happen in this copy
  for (const std::string& p : r.points) {
    auto [it, added] = numbers.emplace(p, static_cast<int>(texts.size()));
    if (added) texts.push_back(&it->first);
    pts.push_back(it->second);
  }
  Table t;
  for (size_t b = 0; b < r.blocks.size(); ++b) {
    if (r.dupof[b] < 0 && r.blocks[b].ndata > 0)
      t.push(r.blocks[b].nstart, r.blocks[b].ndata, static_cast<int>(b));
  }
  int tracks = 0;
  while (t.size() > 0) {
    int nblock = t.size();
    std::vector<int> flag(static_cast<size_t>(nblock), 0);
    std::vector<bool> reversed(static_cast<size_t>(nblock), false);
    auto first = [&](int k) {
      return pts[static_cast<size_t>(t.nstart[static_cast<size_t>(k)])];
    };
    auto last = [&](int k) {
      size_t uk = static_cast<size_t>(k);
      return pts[static_cast<size_t>(t.nstart[uk] + t.ndata[uk] - 1)];
    };
    auto reverse = [&](int k) {
      auto from = pts.begin() + t.nstart[static_cast<size_t>(k)];
      std::reverse(from, from + t.ndata[static_cast<size_t>(k)]);
      reversed[static_cast<size_t>(k)] = true;
    };
    r.console += std::to_string(tracks) + " REMAIN BLOCK:" + std::to_string(nblock) + "\n";
    r.track += "\nH " + base + "(" + std::to_string(++tracks) + ")\n\nH  Latitude     Longitude\n";
    int head = first(0), tail = last(0);
    std::vector<int> order = {0};
    flag[0] = 1;
    for (int attempt = 1; attempt < nblock; ++attempt) {
      bool took = false;
      for (int k = 0; k < nblock && !took; ++k) {
        if (flag[static_cast<size_t>(k)] != 0) continue;
        took = true;
        if (tail == first(k)) {
          tail = last(k);
          order.push_back(k);
        } else if (head == last(k)) {
          head = first(k);
          order.insert(order.begin(), k);
        } else if (head == first(k)) {
          reverse(k);
          head = first(k);
          order.insert(order.begin(), k);
        } else if (tail == last(k)) {
          reverse(k);
          tail = last(k);
          order.push_back(k);
        } else {
          took = false;
        }
        if (took) flag[static_cast<size_t>(k)] = 1;
      }
      if (!took) break;  // later attempts would find nothing either
    }
    std::vector<RefLink> chain;
    for (int k : order) {
      size_t uk = static_cast<size_t>(k);
      for (int m = 0; m < t.ndata[uk]; ++m) r.track += *texts[static_cast<size_t>(pts[static_cast<size_t>(t.nstart[uk] + m)])];
      chain.push_back({t.orig[uk], reversed[uk]});
    }
    r.tracks.push_back(chain);
    Table left;
    for (int k = 0; k < nblock; ++k) {
      size_t uk = static_cast<size_t>(k);
      if (flag[uk] == 0) left.push(t.nstart[uk], t.ndata[uk], t.orig[uk]);
    }
    t = left;
  }
}

}  // namespace

std::string decode_text(const std::string& raw) {
  std::string text;
  size_t end = std::min(raw.find('\x1A'), raw.size());
  for (size_t i = 0; i < end; ++i) {
    if (raw[i] == '\r' && i + 1 < end && raw[i + 1] == '\n') continue;
    text += raw[i];
  }
  if (!text.empty() && text.back() != '\n') text += '\n';
  return text;
}

std::string encode_text(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

RefConversion convert_reference(int index, const std::string& name, const std::string& raw) {
  RefConversion r;
  r.console = std::to_string(index) + " " + name + "\n";
  r.track =
      "H  COORDINATE SYSTEM\nU  LAT LON DEG\n\nH  R DATUM\nM  G WGS84\n\n";
  read_blocks(name, raw, r);
  if (!r.failure.empty()) return r;
  for (const RefBlock& b : r.blocks) {
    std::string first = b.ndata > 0 ? r.points[static_cast<size_t>(b.nstart)] : "\n";
    r.console += "nstart " + std::to_string(b.nstart) + "  data " + first + "  ndata " +
                 std::to_string(b.ndata) + "\n";
  }
  r.dupof.assign(r.blocks.size(), -1);
  if (r.blocks.size() >= 2) remove_duplicates(r);
  build_chains(base_of(name), r);
  return r;
}

std::vector<std::string> list_words(const std::string& raw) {
  std::vector<std::string> words;
  std::string word;
  size_t end = std::min(raw.find('\x1A'), raw.size());
  for (size_t i = 0; i < end; ++i) {
    char c = raw[i];
    // A CR of a CR LF pair never reaches the word reader, but it is white
    // space either way.
    bool space = c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
    if (!space) {
      word += c;
    } else if (!word.empty()) {
      words.push_back(word);
      word.clear();
    }
  }
  if (!word.empty()) words.push_back(word);
  return words;
}

std::string base_of(const std::string& name) { return name.substr(0, name.find('.')); }

}  // namespace linechain::fuzz
