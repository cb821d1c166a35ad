// Fuzz target: arbitrary bytes as the one data file of a batch, through the
// whole conversion (reader, duplicate removal, chain building, track writing)
// in memory. Besides the sanitizers' checks, every run is held to what a user
// relies on:
//   - the track file starts with its 66-byte file header, and every line of
//     the track file and of the console ends in CR LF;
//   - every block the report names as dropped really repeats, forwards or
//     backwards, the block its entry names;
//   - every point line written is a stored point line, unchanged;
//   - every block with points that was not dropped is written exactly once,
//     forwards or reversed, and within a track each block starts at the point
//     where the block before it ends;
//   - console and track bytes are those of the slow reference conversion, and
//     a run stops (status 1, header-only track file) exactly when the
//     reference reader stops, with its message;
//   - the data file and the list keep every byte;
//   - small raw reads and small write buffers change nothing.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "checks.h"
#include "text/io.h"
#include "reference.h"
#include "run/driver.h"
#include "support/memory_files.h"

namespace linechain::fuzz {
namespace {

const std::string kList = "datlist.txt";
const std::string kListBytes = "in.dat\r\n";
const std::string kData = "in.dat";
const std::string kTrack = "in.trk";
const std::string kFileHeaderOnDisk =
    "H  COORDINATE SYSTEM\r\nU  LAT LON DEG\r\n\r\nH  R DATUM\r\nM  G WGS84\r\n\r\n";

// The text as written, with the CR that every LF was given taken away again.
std::string undo_crlf(const std::string& bytes) {
  std::string text;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    text += bytes[i];
  }
  return text;
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t lf = text.find('\n', pos);
    lines.push_back(text.substr(pos, lf - pos + 1));  // with its LF
    pos = lf + 1;
  }
  return lines;
}

using Entries = std::map<int, int>;  // dropped block -> the block it repeats

// The duplicate report in the console text (LF line ends), or none.
Entries parse_report(const std::string& console) {
  Entries entries;
  const std::string label = "\nTautological data deleted (";
  size_t at = console.find(label);
  if (at == std::string::npos) return entries;
  size_t pos = at + label.size();
  size_t close = console.find(")\n", pos);
  if (close == std::string::npos) broken("report count not closed");
  int dropped = std::atoi(console.substr(pos, close - pos).c_str());
  if (dropped <= 0) broken("report with a count of " + console.substr(pos, close - pos));
  pos = close + 2;
  for (int e = 1; e <= dropped; ++e) {
    std::string entry = console.substr(pos, 11);
    if (entry.size() != 11 || entry[0] != ' ' || entry.substr(4, 2) != "<-" ||
        entry.substr(9, 2) != "  ")
      broken("malformed report entry " + std::to_string(e), " nnn<-nnn  ", entry);
    int dup = std::atoi(entry.substr(1, 3).c_str()), of = std::atoi(entry.substr(6, 3).c_str());
    if (!entries.emplace(dup, of).second)
      broken("block " + std::to_string(dup) + " reported dropped twice");
    pos += 11;
    if (e % 10 == 0) {
      if (console.compare(pos, 1, "\n") != 0) broken("no line end after 10 report entries");
      ++pos;
    }
  }
  if (console.compare(pos, 1, "\n") != 0) broken("report does not end with a line end");
  return entries;
}

bool repeats(const RefConversion& ref, int b, int of, bool backwards) {
  const RefBlock& x = ref.blocks[static_cast<size_t>(b)];
  const RefBlock& y = ref.blocks[static_cast<size_t>(of)];
  if (x.ndata != y.ndata) return false;
  for (int m = 0; m < x.ndata; ++m) {
    int my = backwards ? y.ndata - 1 - m : m;
    if (ref.points[static_cast<size_t>(x.nstart + m)] != ref.points[static_cast<size_t>(y.nstart + my)])
      return false;
  }
  return true;
}

void check_report(const RefConversion& ref, const Entries& entries) {
  int nblock = static_cast<int>(ref.blocks.size());
  for (auto [b, of] : entries) {
    std::string entry = std::to_string(b) + "<-" + std::to_string(of);
    if (of < 0 || of >= b || b >= nblock) broken("report entry " + entry + " names no earlier block");
    if (!repeats(ref, b, of, false) && !repeats(ref, b, of, true))
      broken("block reported as a repeat does not repeat: " + entry);
  }
}

// The tracks of the track text after its file header: point lines per track.
std::vector<std::vector<std::string>> parse_tracks(const std::string& text) {
  std::vector<std::vector<std::string>> tracks;
  std::vector<std::string> lines = lines_of(text);
  size_t i = 0;
  while (i < lines.size()) {
    std::string header = "\n|H in(" + std::to_string(tracks.size() + 1) + ")\n|\n|H  Latitude     Longitude\n";
    std::string got;
    for (size_t k = i; k < i + 4 && k < lines.size(); ++k) got += (k > i ? "|" : "") + lines[k];
    if (got != header) broken("track header " + std::to_string(tracks.size() + 1), header, got);
    i += 4;
    tracks.emplace_back();
    while (i < lines.size() && lines[i] != "\n") tracks.back().push_back(lines[i++]);
  }
  return tracks;
}

void check_tracks(const RefConversion& ref, const Entries& dropped,
                  const std::vector<std::vector<std::string>>& written) {
  std::set<std::string> stored(ref.points.begin(), ref.points.end());
  for (const auto& track : written) {
    for (const auto& line : track) {
      if (!stored.count(line)) broken("written point line was never stored", "", line);
    }
  }
  // The reference says how each track falls into blocks; the written lines
  // must be exactly those blocks, end to end.
  if (written.size() != ref.tracks.size())
    broken("number of tracks", std::to_string(ref.tracks.size()), std::to_string(written.size()));
  std::map<int, int> times;
  for (size_t t = 0; t < written.size(); ++t) {
    std::vector<std::string> expected;
    std::string previous_last;
    for (const RefLink& link : ref.tracks[t]) {
      const RefBlock& b = ref.blocks[static_cast<size_t>(link.block)];
      ++times[link.block];
      std::vector<std::string> pts(ref.points.begin() + b.nstart,
                                   ref.points.begin() + b.nstart + b.ndata);
      if (link.reversed) std::reverse(pts.begin(), pts.end());
      if (!expected.empty() && pts.front() != previous_last)
        broken("block " + std::to_string(link.block) + " does not start where the block before it ends",
               previous_last, pts.front());
      previous_last = pts.back();
      expected.insert(expected.end(), pts.begin(), pts.end());
    }
    if (expected != written[t]) {
      std::string e, g;
      for (const auto& l : expected) e += l;
      for (const auto& l : written[t]) g += l;
      expect_same("points of track " + std::to_string(t + 1), e, g);
    }
  }
  for (size_t b = 0; b < ref.blocks.size(); ++b) {
    int want = ref.blocks[b].ndata > 0 && !dropped.count(static_cast<int>(b)) ? 1 : 0;
    int got = times.count(static_cast<int>(b)) ? times[static_cast<int>(b)] : 0;
    if (got != want)
      broken("block " + std::to_string(b) + " written " + std::to_string(got) + " times, not " +
             std::to_string(want));
  }
}

void check_run(const std::string& raw) {
  MemoryFileSystem files;
  files.files[kList] = kListBytes;
  files.files[kData] = raw;
  std::string console;
  int status = run_batch(files, std::make_unique<StringSink>(console));

  if (files.files[kData] != raw) broken("the data file changed");
  if (files.files[kList] != kListBytes) broken("the list file changed");
  if (files.files.size() != 3 || !files.files.count(kTrack)) broken("files other than in.trk appeared");
  const std::string& track = files.files[kTrack];

  // The same run with the files served in small raw reads and written
  // through small buffers (sizes taken from the input's length) must not
  // differ in any byte: CR LF pairs and lines then straddle the reads and
  // the writes.
  MemoryFileSystem chunked;
  chunked.files[kList] = kListBytes;
  chunked.files[kData] = raw;
  chunked.read_chunk = 1 + raw.size() % 29;
  chunked.writer_buffer = 2 + raw.size() % 23;
  std::string chunked_console;
  int chunked_status = run_batch(
      chunked, std::make_unique<StringSink>(chunked_console, chunked.writer_buffer));
  if (chunked_status != status)
    broken("exit status with raw reads of " + std::to_string(chunked.read_chunk),
           std::to_string(status), std::to_string(chunked_status));
  expect_same("console with small raw reads", console, chunked_console);
  expect_same("track file with small raw reads", track, chunked.files[kTrack]);

  expect_crlf_lines("console", console);
  expect_crlf_lines("track file", track);
  if (track.compare(0, 66, kFileHeaderOnDisk) != 0)
    broken("track file does not begin with the 66-byte file header", kFileHeaderOnDisk,
           track.substr(0, 66));

  RefConversion ref = convert_reference(0, kData, raw);
  if (!ref.failure.empty()) {
    if (status != 1) broken("exit status after \"" + ref.failure + "\"", "1", std::to_string(status));
    expect_same("console of a stopped run", encode_text(ref.console + ref.failure), console);
    expect_same("track file of a stopped run", kFileHeaderOnDisk, track);
    return;
  }
  if (status != 0) broken("exit status", "0", std::to_string(status) + ", console: " + console);

  std::string console_text = undo_crlf(console);
  Entries dropped = parse_report(console_text);
  check_report(ref, dropped);
  check_tracks(ref, dropped, parse_tracks(undo_crlf(track.substr(66))));

  // Everything else: listing, report and pass lines, byte for byte.
  expect_same("console", encode_text(ref.console), console);
  expect_same("track file", encode_text(ref.track), track);
}

}  // namespace
}  // namespace linechain::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  linechain::fuzz::check_run(std::string(reinterpret_cast<const char*>(data), size));
  return 0;
}
