// Reading text with this program's line-end rules: CR LF arrives as one LF, a
// lone CR is an ordinary byte, the byte 0x1A ends the file for good, and a
// last line without a line end gets one.
#pragma once

#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "text/io.h"

namespace linechain {

inline constexpr char kCtrlZ = 0x1A;

class TextReader {
 public:
  TextReader();
  ~TextReader();
  TextReader(const TextReader&) = delete;
  TextReader& operator=(const TextReader&) = delete;

  /// Starts reading `source`. False (and nothing to read) when the first read
  /// already fails, as it does for a directory.
  bool open(std::unique_ptr<ByteSource> source);
  void close();
  bool is_open() const { return source_ != nullptr; }

  /// Reads the next piece of a line: at most kLinePiece bytes, stopping after
  /// the first LF. The view stays valid until the next read. False at the end
  /// of the text or on a read error.
  bool read_line(std::string_view& piece) {
    // The usual case, kept here so the line loop makes no call for it: a
    // whole piece's raw bytes are there and hold an LF that ends a piece.
    if (end_ - pos_ >= kPieceSpan) {
      char* start = buf_.get() + pos_;
      if (char* lf = static_cast<char*>(std::memchr(start, '\n', kPieceSpan))) {
        size_t before = static_cast<size_t>(lf - start);
        bool cr = before > 0 && lf[-1] == '\r';
        if (cr && !(lone_cr_at_end_ && lf + 1 == buf_.get() + end_)) {
          lf[-1] = '\n';  // the CR LF pair as one LF
          piece = {start, before};
          pos_ += before + 1;
          return true;
        }
        if (!cr && before + 1 < kPieceSpan) {
          piece = {start, before + 1};
          pos_ += before + 1;
          return true;
        }
      }
    }
    return read_piece(piece);
  }
  /// Skips white space and reads the word up to the next white space, which
  /// stays unread. False when only white space was left.
  bool read_word(std::string& word);
  /// True after a read error; the text then counts as ended.
  bool failed() const { return failed_; }

  /// Bytes a raw read asks for at once.
  static constexpr size_t kBufferSize = 64 * 1024;
  /// Raw bytes that always decide the next piece: kLinePiece bytes and the
  /// one after them, which may be the LF of a CR LF.
  static constexpr size_t kPieceSpan = 256;

 private:
  bool read_piece(std::string_view& piece);
  void read_more();
  void refill();
  void finish();
  static bool is_space(unsigned char c);

  std::unique_ptr<ByteSource> source_;
  /// Raw bytes, decoded only as pieces are handed out: a CR LF pair within
  /// the buffer becomes the piece's LF in place. A piece is cut from at most
  /// kLinePiece + 1 raw bytes (its CR LF counts as one), so the unread bytes
  /// are topped up before fewer than that are left.
  std::unique_ptr<char[]> buf_;
  /// Raw bytes not yet handed out are buf_[pos_, end_).
  size_t pos_ = 0;
  size_t end_ = 0;
  /// The raw input ended (physically, at 0x1A, or by an error).
  bool done_ = false;
  bool failed_ = false;
  /// Some byte was read, and the last one read.
  bool any_ = false;
  char last_ = 0;
  /// The text ended in a CR that no LF followed: the line end added after it
  /// (the last byte of the buffer) does not pair with it.
  bool lone_cr_at_end_ = false;
};

}  // namespace linechain
