// Fuzz target: arbitrary bytes as datlist.txt, in a folder of small data files
// that cover the driver's paths (names with several dots, no dot, a leading
// dot, a directory part, a file that is its own track file or a link to it,
// an unreadable file, a read error, a track file that cannot be created or
// written, too many blocks). The run is held to a model of the driver: the
// names it takes (white space of every kind, Ctrl-Z, at most 405), the
// console bytes, the exit status, and every file's bytes afterwards, so no
// data file loses a byte and no earlier track file changes on any failure.
// Every file is read in small raw reads.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "checks.h"
#include "text/io.h"
#include "reference.h"
#include "run/driver.h"
#include "support/memory_files.h"

namespace linechain::fuzz {
namespace {

const std::string kTen = "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n";

std::string many_blocks(int n) {
  std::string s = kTen;
  for (int i = 0; i < n; ++i) s += "H\nH\nT" + std::to_string(i) + "\n";
  return s;
}

// The folder every run starts from.
MemoryFileSystem folder() {
  MemoryFileSystem fs;
  fs.files["a.dat"] = kTen + "H 1\r\nH 2\r\nTa\r\nTb\r\nH 3\r\nH 4\r\nTb\r\nTc\r\n";
  fs.files["b.c.dat"] = kTen + "H\nH\nTx\nTy\nH\nH\nTy\nTx\nH\nH\nTz\n";
  fs.files["c"] = kTen + "Tp\n";
  fs.files[".d"] = kTen + "H\nH\nH\nH\n";
  fs.files["e.trk"] = kTen + "Te\n";
  fs.files["f.dat"] = kTen + "Tf\n";
  fs.files["f.trk"] = "an existing file that f.dat is a link to\n";
  fs.aliases["f.dat"] = "f.trk";
  fs.files["dir/g.dat"] = kTen + "Tg1\nTg2";
  fs.files["big.dat"] = many_blocks(651);
  fs.files["u.dat"] = kTen + "Tu\n";
  fs.unreadable["u.dat"] = true;
  fs.files["r.dat"] = kTen + "H\nH\nTr1\nTr2\n";
  fs.read_fails_after["r.dat"] = kTen.size() + 7;
  fs.files["w.dat"] = kTen + "Tw\n";
  fs.write_fails_after["w.trk"] = 70;
  fs.files["n.dat"] = kTen + "Tn\n";
  fs.uncreatable["n.trk"] = true;
  return fs;
}

struct Expected {
  int status = 0;
  std::string console;  // LF line ends
  std::map<std::string, std::string> files;
};

// What the driver promises for `list` in `fs`.
Expected model(const MemoryFileSystem& fs, const std::string& list) {
  Expected x;
  x.files = fs.files;
  std::vector<std::string> words = list_words(list);
  if (words.empty()) {
    x.status = 1;
    x.console = "datlist.txt holds no file name\n";
    return x;
  }
  for (size_t index = 0; index < words.size() && index < 405; ++index) {
    const std::string& name = words[index];
    if (!x.files.count(name) || fs.unreadable.count(name)) {
      x.console += "File open error (" + name + ")\n";
      x.status = 1;
      return x;
    }
    std::string track = base_of(name) + ".trk";
    auto alias = fs.aliases.find(name);
    bool same = x.files.count(track) &&
                (name == track || (alias != fs.aliases.end() && alias->second == track));
    if (same || fs.uncreatable.count(track)) {
      x.console += std::to_string(index) + " " + name + "\nFile open error(" + track + ")\n";
      x.status = 1;
      return x;
    }
    RefConversion ref = convert_reference(static_cast<int>(index), name, x.files[name]);
    auto read_limit = fs.read_fails_after.find(name);
    if (read_limit != fs.read_fails_after.end() && read_limit->second < x.files[name].size()) {
      // The fixed files fail to read after their ten skipped lines.
      x.console += std::to_string(index) + " " + name + "\nFile read error (" + name + ")\n";
      x.files[track] = encode_text(ref.track.substr(0, 60));  // the file header
      x.status = 1;
      return x;
    }
    x.console += ref.console + ref.failure;
    x.files[track] = encode_text(ref.track);
    if (!ref.failure.empty()) {
      x.status = 1;
      return x;
    }
    auto write_limit = fs.write_fails_after.find(track);
    if (write_limit != fs.write_fails_after.end() && write_limit->second < x.files[track].size()) {
      x.files[track].resize(write_limit->second);
      x.console += "File write error(" + track + ")\n";
      x.status = 1;
      return x;
    }
  }
  return x;
}

void check_batch(const std::string& list) {
  MemoryFileSystem fs = folder();
  fs.files["datlist.txt"] = list;
  // Raw reads of a size taken from the input's length, so that words, CR LF
  // pairs and Ctrl-Z fall across the reader's reads.
  fs.read_chunk = 1 + list.size() % 31;
  Expected x = model(fs, list);
  std::string console;
  int status = run_batch(fs, std::make_unique<StringSink>(console));
  expect_crlf_lines("console", console);
  expect_same("console", encode_text(x.console), console);
  if (status != x.status) broken("exit status", std::to_string(x.status), std::to_string(status));
  for (const auto& [name, bytes] : x.files) {
    auto it = fs.files.find(name);
    if (it == fs.files.end()) broken(name + " is missing after the run");
    expect_same("bytes of " + name, bytes, it->second);
  }
  for (const auto& [name, bytes] : fs.files) {
    if (!x.files.count(name)) broken(name + " was created although no entry converted into it");
  }
}

}  // namespace
}  // namespace linechain::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  linechain::fuzz::check_batch(std::string(reinterpret_cast<const char*>(data), size));
  return 0;
}
