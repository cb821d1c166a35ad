// A slow, literal model of one data file's conversion, for the fuzz targets to
// hold the program against. It shares no code with src/: it decodes the whole
// file at once, compares point texts as strings, walks every block on every
// attempt and reverses blocks in its own copy of the points, so a shortcut
// taken by the real code that changes the result shows up as a difference.
#pragma once

#include <string>
#include <vector>

namespace linechain::fuzz {

/// The text a reader sees: everything from the first 0x1A on dropped, CR LF
/// turned into LF, and a final LF added when the text does not end in one.
std::string decode_text(const std::string& raw);
/// LF -> CR LF, as every output is written.
std::string encode_text(const std::string& text);

struct RefBlock {
  int nstart = 0;
  int ndata = 0;
};

/// One block of a written chain: its number in the table as read, and
/// whether it was written backwards.
struct RefLink {
  int block = 0;
  bool reversed = false;
};

struct RefConversion {
  /// The reader's stop message ("" when the file was read whole).
  std::string failure;
  /// Point lines in file order, each with its LF.
  std::vector<std::string> points;
  /// The blocks as read (at most 650 are kept).
  std::vector<RefBlock> blocks;
  /// Block number -> the earlier block it was dropped as a repeat of, or -1.
  std::vector<int> dupof;
  /// The tracks, one chain each.
  std::vector<std::vector<RefLink>> tracks;
  /// Console output and the track file's bytes, LF line ends (not encoded).
  std::string console;
  std::string track;
};

/// Converts the data file `name` with raw bytes `raw`, as entry `index` of
/// the list: the console text starts with the entry line, the track text with
/// the file header.
RefConversion convert_reference(int index, const std::string& name, const std::string& raw);

/// The names of a list file, as the driver reads them (all of them; the
/// driver takes at most the first 405).
std::vector<std::string> list_words(const std::string& raw);

/// `name` up to its first '.'.
std::string base_of(const std::string& name);

}  // namespace linechain::fuzz
