// End-to-end test support: a fresh folder per test, the built program run in
// it, and every file's bytes read back.
//
// The program is the file named by LINECHAIN_EXE; LINECHAIN_RUNNER, when set,
// is a command that runs it (an emulator for another platform's build).
#pragma once

#include <filesystem>
#include <map>
#include <string>

namespace linechain::testing {

struct RunResult {
  int status = -1;
  std::string out;  // standard output, as bytes
  std::string err;  // standard error
};

class BatchFolder {
 public:
  BatchFolder();
  ~BatchFolder();

  /// The folder the program runs in.
  const std::filesystem::path& dir() const { return dir_; }
  void write(const std::string& name, const std::string& bytes) const;
  std::string read(const std::string& name) const;
  /// Every regular file below the folder, by relative name.
  std::map<std::string, std::string> files() const;
  /// Runs the program in the folder; `redirect` replaces the capture of
  /// standard output (e.g. ">/dev/full").
  RunResult run(const std::string& redirect = "") const;
  /// True when the program runs under an emulator for another platform.
  static bool emulated();

 private:
  std::filesystem::path root_, dir_;
};

/// Track file bytes as the format defines them, line ends already CR LF.
std::string FileHeader();
std::string TrackHeader(const std::string& base, int number);
/// The data file's ten skipped lines, with CR LF line ends.
std::string TenLines();

}  // namespace linechain::testing
