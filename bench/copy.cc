// linechain_bench_copy: the baseline the converter is timed against. Run in a
// batch folder, it reads the names in datlist.txt (at most 405) and copies
// every data file's bytes unchanged into the track file the converter would
// write for it (the name up to its first '.', then ".trk"), through a 64 KiB
// buffer and unbuffered streams, as the converter reads and writes.
#include <cstdio>
#include <string>

namespace {

bool is_space(int c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool read_word(std::FILE* list, std::string& word) {
  word.clear();
  int c;
  while ((c = std::fgetc(list)) != EOF && is_space(c)) {
  }
  for (; c != EOF && !is_space(c); c = std::fgetc(list)) word.push_back(static_cast<char>(c));
  return !word.empty();
}

bool copy(const std::string& from, const std::string& to, char* buf, size_t size) {
  std::FILE* in = std::fopen(from.c_str(), "rb");
  if (!in) return false;
  std::FILE* out = std::fopen(to.c_str(), "wb");
  if (!out) {
    std::fclose(in);
    return false;
  }
  std::setvbuf(in, nullptr, _IONBF, 0);
  std::setvbuf(out, nullptr, _IONBF, 0);
  bool ok = true;
  size_t n;
  while (ok && (n = std::fread(buf, 1, size, in)) > 0) ok = std::fwrite(buf, 1, n, out) == n;
  ok = !std::ferror(in) && ok;
  std::fclose(in);
  return std::fclose(out) == 0 && ok;
}

}  // namespace

int main() {
  std::FILE* list = std::fopen("datlist.txt", "rb");
  if (!list) {
    std::fputs("cannot open datlist.txt\n", stderr);
    return 1;
  }
  static char buf[64 * 1024];
  std::string name;
  for (int entry = 0; entry < 405 && read_word(list, name); ++entry) {
    if (!copy(name, name.substr(0, name.find('.')) + ".trk", buf, sizeof buf)) {
      std::fprintf(stderr, "cannot copy %s\n", name.c_str());
      return 1;
    }
  }
  std::fclose(list);
  return 0;
}
