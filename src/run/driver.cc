// The batch driver. Every stage returns a Status; the first failure ends the
// batch, its message goes to the console, and the exit status is decided in
// run_batch alone.
#include "run/driver.h"

#include <string>

#include "blocks/blocks.h"
#include "blocks/reader.h"
#include "blocks/status.h"
#include "merge/chain.h"
#include "merge/dedup.h"
#include "text/text_reader.h"
#include "text/text_writer.h"
#include "track/track_writer.h"

namespace linechain {
namespace {

constexpr const char* kListName = "datlist.txt";

/// Everything one run owns; the point store and block table are reused for
/// every data file.
class Converter {
 public:
  Converter(FileSystem& files, TextWriter& console) : files_(files), console_(console) {}
  Status run();

 private:
  Status convert(int32_t index);
  Status convert_open(int32_t index);
  Status convert_blocks();
  void derive_names();

  FileSystem& files_;
  TextWriter& console_;
  TextReader list_, data_;
  TextWriter track_;
  /// The current data file's name as read, its `base` and its track file name.
  std::string name_, base_, track_name_;
  PointStore store_;
  BlockTable table_;
};

Status Converter::run() {
  if (!list_.open(files_.open(kListName)))
    return fail(std::string("File open error (") + kListName + ")\n");
  Status st;
  for (int32_t index = 0; index < kEntries && !st; ++index) {
    if (!list_.read_word(name_)) {
      if (list_.failed()) st = fail(std::string("File read error (") + kListName + ")\n");
      else if (index == 0) st = fail(std::string(kListName) + " holds no file name\n");
      break;
    }
    st = convert(index);
    if (!st && console_.failed()) st = Failure{"", true};
  }
  list_.close();
  return st;
}

void Converter::derive_names() {
  base_.assign(name_, 0, name_.find('.'));
  track_name_.assign(base_).append(".trk");
}

// Opens the data and track files; on success both are open.
Status Converter::convert_open(int32_t index) {
  if (!data_.open(files_.open(name_))) return fail("File open error (" + name_ + ")\n");
  console_ << index << ' ' << name_ << '\n';
  derive_names();
  std::unique_ptr<ByteSink> sink;
  // Creating the track file must never empty the data file itself.
  if (!files_.same_file(name_, track_name_)) sink = files_.create(track_name_);
  if (!sink) {
    data_.close();
    return fail("File open error(" + track_name_ + ")\n");
  }
  track_.open(std::move(sink));
  return {};
}

Status Converter::convert_blocks() {
  write_file_header(track_);
  if (Status st = read_blocks(data_, name_, store_, table_)) return st;
  list_blocks(console_, store_, table_);
  if (table_.nblock >= 2) {
    if (Status st = remove_duplicates(store_, table_, console_)) return st;
  }
  return build_chains(store_, table_, base_, track_, console_);
}

Status Converter::convert(int32_t index) {
  if (Status st = convert_open(index)) return st;
  Status st = convert_blocks();
  data_.close();
  bool written = track_.close();
  if (!st && !written) st = fail("File write error(" + track_name_ + ")\n");
  return st;
}

}  // namespace

int run_batch(FileSystem& files, std::unique_ptr<ByteSink> out) {
  TextWriter console;
  console.open(std::move(out));
  auto converter = std::make_unique<Converter>(files, console);
  Status st = converter->run();
  converter.reset();  // closes whatever is still open, writing out its buffers
  if (st && !st->console_broken) console << st->message;
  bool console_ok = console.close();
  if (!console_ok || (st && st->console_broken)) {
    report_to_stderr("linechain: standard output cannot be written\n" +
                     (st ? st->message : std::string()));
    return 1;
  }
  return st ? 1 : 0;
}

}  // namespace linechain
