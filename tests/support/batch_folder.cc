// End-to-end test support; POSIX is fine here, only the program under test
// has to be portable.
#include "support/batch_folder.h"

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace linechain::testing {
namespace fs = std::filesystem;

namespace {

std::string env(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}

std::string shell_quoted(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

std::string slurp(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

BatchFolder::BatchFolder() {
  std::string tmpl = (fs::temp_directory_path() / "linechain-e2e-XXXXXX").string();
  if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
  root_ = tmpl;
  dir_ = root_ / "work";
  fs::create_directory(dir_);
}

BatchFolder::~BatchFolder() {
  std::error_code ec;
  fs::remove_all(root_, ec);
}

void BatchFolder::write(const std::string& name, const std::string& bytes) const {
  fs::path p = dir_ / name;
  fs::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << bytes;
}

std::string BatchFolder::read(const std::string& name) const { return slurp(dir_ / name); }

std::map<std::string, std::string> BatchFolder::files() const {
  std::map<std::string, std::string> all;
  for (const auto& e : fs::recursive_directory_iterator(dir_)) {
    if (e.is_regular_file() && !e.is_symlink())
      all[fs::relative(e.path(), dir_).string()] = slurp(e.path());
  }
  return all;
}

bool BatchFolder::emulated() { return !env("LINECHAIN_RUNNER").empty(); }

RunResult BatchFolder::run(const std::string& redirect) const {
  std::string exe = env("LINECHAIN_EXE");
  if (exe.empty()) throw std::runtime_error("LINECHAIN_EXE is not set");
  std::string runner = env("LINECHAIN_RUNNER");
  fs::path out = root_ / "stdout", err = root_ / "stderr";
  std::string cmd = "cd " + shell_quoted(dir_.string()) + " && " + runner + " " + shell_quoted(exe) +
                    " </dev/null 2>" + shell_quoted(err.string()) + " " +
                    (redirect.empty() ? ">" + shell_quoted(out.string()) : redirect);
  int raw = std::system(cmd.c_str());
  RunResult r;
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  r.out = slurp(out);
  r.err = slurp(err);
  return r;
}

std::string FileHeader() {
  return "H  COORDINATE SYSTEM\r\nU  LAT LON DEG\r\n\r\nH  R DATUM\r\nM  G WGS84\r\n\r\n";
}

std::string TrackHeader(const std::string& base, int number) {
  return "\r\nH " + base + "(" + std::to_string(number) + ")\r\n\r\nH  Latitude     Longitude\r\n";
}

std::string TenLines() {
  std::string s;
  for (int i = 1; i <= 10; ++i) s += "header line " + std::to_string(i) + "\r\n";
  return s;
}

}  // namespace linechain::testing
