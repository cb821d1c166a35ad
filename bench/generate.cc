// linechain_bench_generate: writes one benchmark batch, the data files and
// their datlist.txt, into a folder. The same kind and file count always give
// the same bytes: every file draws from its own fixed seed.
//
//   linechain_bench_generate KIND FOLDER [FILES]
//
// Kinds:
//   limits   650 blocks and 4685 point lines of about 60 characters per file,
//            no two blocks sharing an end point: every block is its own track.
//   chains   the same sizes, the blocks forming a few long chains, stored in
//            shuffled order and half of them reversed.
//   dupscan  650 blocks of 7 points that share all but their last point: no
//            block repeats another, and every duplicate scan runs to the end.
//   real     road-like line data: pieces of mixed sizes that meet at their
//            ends, mostly in order, some stored reversed, some repeated
//            (forwards and backwards), files of mixed sizes (the point
//            limit ends most of them at about 150 blocks).
//   small    like real, about 20 blocks per file.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int kMaxBlocks = 650;
constexpr int kMaxPoints = 4685;
constexpr uint64_t kSeed = 0x6C696E6563686169ull;

/// splitmix64: small, fast and the same on every platform.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  uint64_t next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  /// A number from lo to hi, both included.
  int between(int lo, int hi) {
    return lo + static_cast<int>(next() % static_cast<uint64_t>(hi - lo + 1));
  }
  bool percent(int p) { return between(1, 100) <= p; }
  template <typename T>
  void shuffle(std::vector<T>& v) {
    for (size_t i = v.size(); i > 1; --i) std::swap(v[i - 1], v[next() % i]);
  }

 private:
  uint64_t state_;
};

using Block = std::vector<std::string>;  // point texts without line end

/// A position in 1e-8 degrees, moved by a random walk.
struct Walker {
  int64_t lat = 3568123610, lon = 13976712540;
  void step(Random& r, int reach) {
    lat += r.between(-reach, reach);
    lon += r.between(-reach, reach);
  }
};

std::string degrees(int64_t v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%lld.%08lld", static_cast<long long>(v / 100000000),
                static_cast<long long>(v % 100000000));
  return buf;
}

/// A point line of 63 characters: position, height, a time stamp and a
/// quality code. The time stamp, counted in seconds, makes it unique.
std::string wide_point(const Walker& w, int64_t second, int height) {
  char buf[96];
  int day = 1 + static_cast<int>(second / 86400 % 28);
  int s = static_cast<int>(second % 86400);
  std::snprintf(buf, sizeof buf, "T  %s  %s  %+08.2f  2026-11-%02d %02d:%02d:%02d  Q%d",
                degrees(w.lat).c_str(), degrees(w.lon).c_str(), height / 100.0, day,
                s / 3600, s / 60 % 60, s % 60, static_cast<int>(second % 7));
  return buf;
}

/// A plain point line of 24 characters, as surveyed line data often is.
std::string plain_point(const Walker& w) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "T  %lld.%06lld  %lld.%06lld",
                static_cast<long long>(w.lat / 100000000),
                static_cast<long long>(w.lat % 100000000 / 100),
                static_cast<long long>(w.lon / 100000000),
                static_cast<long long>(w.lon % 100000000 / 100));
  return buf;
}

/// Draws unique wide points along one walk.
struct WidePoints {
  Random& r;
  Walker w;
  int64_t second;
  int height = 1250;
  WidePoints(Random& rnd, int64_t start) : r(rnd), second(start) {}
  std::string next() {
    w.step(r, 3000);
    height += r.between(-40, 40);
    second += r.between(1, 4);
    return wide_point(w, second, height);
  }
};

/// Sizes of 650 blocks holding 4685 points together: 7 or 8 points each.
std::vector<int> limit_sizes() {
  std::vector<int> sizes(kMaxBlocks, kMaxPoints / kMaxBlocks);
  for (int b = 0; b < kMaxPoints % kMaxBlocks; ++b) ++sizes[kMaxBlocks - 1 - b];
  return sizes;
}

// Every point distinct; the blocks of 7 points come first, then those of 8,
// so the duplicate scans run as far as the sizes allow.
std::vector<Block> limits(Random& r) {
  WidePoints points(r, 0);
  std::vector<Block> blocks;
  for (int size : limit_sizes()) {
    Block b;
    for (int m = 0; m < size; ++m) b.push_back(points.next());
    blocks.push_back(std::move(b));
  }
  return blocks;
}

// A few chains: each block starts at the point where the one before it in its
// chain ends. Then all are shuffled and half of them turned around.
std::vector<Block> chains(Random& r) {
  std::vector<int> sizes = limit_sizes();
  r.shuffle(sizes);
  int nchains = r.between(3, 5);
  std::vector<Block> blocks;
  size_t next_size = 0;
  for (int c = 0; c < nchains; ++c) {
    int left = static_cast<int>(sizes.size() - next_size);
    int count = c + 1 == nchains ? left : left / (nchains - c) + r.between(-20, 20);
    WidePoints points(r, 100000 * (c + 1));
    std::string joint = points.next();
    for (int k = 0; k < count; ++k) {
      Block b{joint};
      for (int m = 1; m < sizes[next_size]; ++m) b.push_back(points.next());
      joint = b.back();
      blocks.push_back(std::move(b));
      ++next_size;
    }
  }
  r.shuffle(blocks);
  std::vector<char> turn(blocks.size(), 0);
  std::fill(turn.begin(), turn.begin() + static_cast<long>(turn.size() / 2), 1);
  r.shuffle(turn);
  for (size_t b = 0; b < blocks.size(); ++b)
    if (turn[b]) std::reverse(blocks[b].begin(), blocks[b].end());
  return blocks;
}

// 650 blocks of 7 points: the first 6 are the same for all, the last is each
// block's own.
std::vector<Block> dupscan(Random& r) {
  WidePoints points(r, 0);
  Block common;
  for (int m = 0; m < 6; ++m) common.push_back(points.next());
  std::vector<Block> blocks;
  for (int b = 0; b < kMaxBlocks; ++b) {
    Block block = common;
    block.push_back(points.next());
    blocks.push_back(std::move(block));
  }
  return blocks;
}

struct RoadShape {
  int min_blocks, max_blocks;  // pieces a file aims at
  int min_piece, max_piece;    // points per piece
};

// Roads as random walks cut into pieces; a new road often starts where an
// earlier piece ends, as at a junction. Pieces are stored mostly in order,
// some reversed, some swapped, and some repeated: right after the original
// (which the duplicate scan catches) or further on.
std::vector<Block> roads(Random& r, const RoadShape& shape) {
  int want = r.between(shape.min_blocks, shape.max_blocks);
  std::vector<Block> pieces;
  // Where pieces end, text and position: the junctions a new road may leave.
  std::vector<std::pair<std::string, Walker>> ends;
  int points = 0;
  auto room = [&](int n) {
    return static_cast<int>(pieces.size()) < want && points + n <= kMaxPoints;
  };
  while (static_cast<int>(pieces.size()) < want) {
    Walker w;
    std::string start;
    if (!ends.empty() && r.percent(60)) {
      auto& junction = ends[r.next() % ends.size()];
      start = junction.first;
      w = junction.second;
    } else {
      w.lat += r.between(-50000000, 50000000);
      w.lon += r.between(-50000000, 50000000);
      start = plain_point(w);
      ends.emplace_back(start, w);
    }
    int road_pieces = r.between(1, 12);
    bool full = false;
    for (int p = 0; p < road_pieces && !full; ++p) {
      int n = r.between(shape.min_piece, shape.max_piece);
      if (!room(n)) {
        full = true;
        break;
      }
      Block b{start};
      for (int m = 1; m < n; ++m) {
        w.step(r, 15000);
        b.push_back(plain_point(w));
      }
      start = b.back();
      ends.emplace_back(start, w);
      if (r.percent(25)) std::reverse(b.begin(), b.end());
      points += n;
      pieces.push_back(std::move(b));
      if (r.percent(6) && room(n)) {  // recorded twice, one after the other
        Block copy = pieces.back();
        if (r.percent(50)) std::reverse(copy.begin(), copy.end());
        points += n;
        pieces.push_back(std::move(copy));
      }
    }
    if (full) break;
  }
  for (size_t k = 0; k + 1 < pieces.size(); ++k)
    if (r.percent(10)) std::swap(pieces[k], pieces[k + 1 + r.next() % (pieces.size() - k - 1)]);
  // Repeats further apart; the duplicate scan keeps them when a block of
  // another size stands between.
  int later = static_cast<int>(pieces.size()) / 30;
  for (int k = 0; k < later; ++k) {
    Block copy = pieces[static_cast<size_t>(r.between(0, static_cast<int>(pieces.size()) - 1))];
    int n = static_cast<int>(copy.size());
    if (static_cast<int>(pieces.size()) >= kMaxBlocks || points + n > kMaxPoints) break;
    if (r.percent(50)) std::reverse(copy.begin(), copy.end());
    points += n;
    pieces.insert(pieces.begin() + r.between(0, static_cast<int>(pieces.size())),
                  std::move(copy));
  }
  return pieces;
}

struct Kind {
  std::string_view name;
  std::vector<Block> (*make)(Random&);
  /// Line end of a file: 0 = LF, 1 = CR LF, 2 = either, by file.
  int crlf;
};

std::vector<Block> real(Random& r) { return roads(r, {30, 650, 2, 60}); }
std::vector<Block> small(Random& r) { return roads(r, {15, 25, 2, 20}); }

constexpr Kind kKinds[] = {
    {"limits", limits, 1}, {"chains", chains, 0}, {"dupscan", dupscan, 1},
    {"real", real, 2},     {"small", small, 0},
};

std::string data_file(std::string_view kind, int index, const std::vector<Block>& blocks,
                      bool crlf) {
  const char* eol = crlf ? "\r\n" : "\n";
  std::string out;
  char line[128];
  const char* top[] = {"Line data export", "Area: benchmark district", "Layer: lines",
                       "Projection: geographic", "Datum: WGS84", "Units: degrees"};
  for (const char* t : top) out.append(t).append(eol);
  std::snprintf(line, sizeof line, "Batch: %.*s", static_cast<int>(kind.size()), kind.data());
  out.append(line).append(eol);
  std::snprintf(line, sizeof line, "File: %d", index);
  out.append(line).append(eol);
  std::snprintf(line, sizeof line, "Pieces: %zu", blocks.size());
  out.append(line).append(eol);
  out.append("-----").append(eol);
  for (size_t b = 0; b < blocks.size(); ++b) {
    std::snprintf(line, sizeof line, "H  LINE %zu", b + 1);
    out.append(line).append(eol);
    std::snprintf(line, sizeof line, "H  POINTS %zu", blocks[b].size());
    out.append(line).append(eol);
    for (const std::string& p : blocks[b]) out.append(p).append(eol);
  }
  return out;
}

bool write_file(const std::filesystem::path& path, const std::string& bytes) {
  std::FILE* f = std::fopen(path.string().c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

int usage() {
  std::fputs("usage: linechain_bench_generate KIND FOLDER [FILES]\n"
             "kinds: limits chains dupscan real small\n",
             stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4) return usage();
  std::string_view name = argv[1];
  const Kind* kind = nullptr;
  for (const Kind& k : kKinds)
    if (k.name == name) kind = &k;
  int files = argc == 4 ? std::atoi(argv[3]) : 405;
  if (!kind || files < 1) return usage();
  std::filesystem::path folder = argv[2];
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  uint64_t kind_seed = kSeed ^ static_cast<uint64_t>(kind - kKinds) * 0xD1B54A32D192ED03ull;
  std::string list;
  for (int i = 0; i < files; ++i) {
    Random r(kind_seed + static_cast<uint64_t>(i) * 0x9E3779B97F4A7C15ull);
    std::vector<Block> blocks = kind->make(r);
    bool crlf = kind->crlf == 2 ? i % 2 == 1 : kind->crlf == 1;
    char file[32];
    std::snprintf(file, sizeof file, "%.*s%03d.dat", 2, kind->name.data(), i);
    if (!write_file(folder / file, data_file(kind->name, i, blocks, crlf))) {
      std::fprintf(stderr, "cannot write %s\n", (folder / file).string().c_str());
      return 1;
    }
    list.append(file).append("\n");
  }
  if (!write_file(folder / "datlist.txt", list)) {
    std::fprintf(stderr, "cannot write datlist.txt in %s\n", folder.string().c_str());
    return 1;
  }
  return 0;
}
