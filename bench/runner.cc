// linechain_bench: times the converter against a plain copy of the same bytes
// and prints one table row per batch kind.
//
//   linechain_bench --program PATH --copy PATH --generate PATH --dir FOLDER
//                   [--runs N] [--keep] [KIND...]
//
// For each kind (all five when none is named) it generates the batch under
// FOLDER/KIND, runs the copy and the converter once each to warm the caches,
// then N times each, alternating which goes first. Before every timed run
// the track files of the run before are removed and everything written is
// flushed to the disk, so each run creates its files afresh and pays for no
// other run's writing. It reports:
//   bytes       the data files' size;
//   copy s      median wall time of the copy;
//   program s   median wall time of the converter, its console output going
//               to FOLDER/KIND/console.txt;
//   ratio       median of the N ratios program / copy, each from one
//               back-to-back pair, so a slow phase of a shared machine hits
//               both sides of a ratio alike;
//   peak KiB    the converter's highest peak resident set size over all its
//               runs on the whole batch, and on a batch of the first file
//               alone;
//   output      a digest of the console output and every track file, to
//               show that a change to the converter left its output as it
//               was.
// The generated folders are removed after their row unless --keep is given.
#include <sys/resource.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr const char* kAllKinds[] = {"limits", "chains", "dupscan", "real", "small"};
constexpr double kRatioTarget = 3.0;
constexpr long kPeakTargetKiB = 4096;

struct Options {
  fs::path program, copy, generate, dir;
  int runs = 9;
  bool keep = false;
  std::vector<std::string> kinds;
};

struct Run {
  double seconds;
  long peak_kib;
};

[[noreturn]] void die(const std::string& message) {
  std::fprintf(stderr, "linechain_bench: %s\n", message.c_str());
  std::exit(1);
}

// Runs `args` in `folder` with standard output going to `out`, and measures
// the wall time from start to exit and the peak resident set size of that
// one process. Any exit status but 0 ends the benchmark.
Run run(const std::vector<std::string>& args, const fs::path& folder, const fs::path& out) {
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  auto start = std::chrono::steady_clock::now();
  pid_t pid = fork();
  if (pid < 0) die("fork failed");
  if (pid == 0) {
    int fd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || dup2(fd, 1) < 0 || chdir(folder.c_str()) != 0) _exit(127);
    close(fd);
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid) die("wait4 failed");
  auto stop = std::chrono::steady_clock::now();
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
    die(args[0] + " failed in " + folder.string());
  return {std::chrono::duration<double>(stop - start).count(), usage.ru_maxrss};
}

std::vector<std::string> list_names(const fs::path& folder) {
  std::ifstream list(folder / "datlist.txt");
  std::vector<std::string> names;
  std::string name;
  while (names.size() < 405 && list >> name) names.push_back(name);
  if (names.empty()) die("no names in " + (folder / "datlist.txt").string());
  return names;
}

std::string track_name(const std::string& name) { return name.substr(0, name.find('.')) + ".trk"; }

// Every timed run starts alike: no track files from an earlier run, and
// nothing left in the page cache to write back, so that no run pays for
// another's output.
void clean(const fs::path& folder, const std::vector<std::string>& names) {
  for (const std::string& name : names) fs::remove(folder / track_name(name));
  fs::remove(folder / "console.txt");
  sync();
}

// FNV-1a over the console output and each track file in list order.
uint64_t digest(const fs::path& folder, const std::vector<std::string>& names) {
  uint64_t h = 0xCBF29CE484222325ull;
  std::vector<char> buf(1 << 16);
  auto add = [&](const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) die("cannot read " + path.string());
    while (in) {
      in.read(buf.data(), static_cast<std::streamsize>(buf.size()));
      for (std::streamsize i = 0; i < in.gcount(); ++i)
        h = (h ^ static_cast<unsigned char>(buf[static_cast<size_t>(i)])) * 0x100000001B3ull;
    }
  };
  add(folder / "console.txt");
  for (const std::string& name : names) add(folder / track_name(name));
  return h;
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

struct Row {
  std::string kind;
  size_t files = 0;
  uintmax_t bytes = 0;
  double copy_s = 0, program_s = 0, ratio = 0;
  long peak_kib = 0, peak_one_kib = 0;
  uint64_t output = 0;
};

Row measure(const Options& o, const std::string& kind) {
  Row row;
  row.kind = kind;
  fs::path folder = o.dir / kind, one = o.dir / (kind + "-one");
  fs::remove_all(folder);
  fs::remove_all(one);
  fs::create_directories(folder);
  std::fprintf(stderr, "%s: generating\n", kind.c_str());
  run({o.generate.string(), kind, folder.string()}, o.dir, "/dev/null");
  std::vector<std::string> names = list_names(folder);
  row.files = names.size();
  for (const std::string& name : names) row.bytes += fs::file_size(folder / name);

  // The first file alone, as a batch of its own.
  fs::create_directories(one);
  fs::copy_file(folder / names[0], one / names[0]);
  std::ofstream(one / "datlist.txt") << names[0] << '\n';

  const std::vector<std::string> copy{o.copy.string()}, program{o.program.string()};
  fs::path console = folder / "console.txt";
  std::fprintf(stderr, "%s: %zu files, %ju bytes; warming up\n", kind.c_str(), names.size(),
               row.bytes);
  run(copy, folder, "/dev/null");
  row.peak_kib = run(program, folder, console).peak_kib;
  row.output = digest(folder, names);
  row.peak_one_kib = run(program, one, one / "console.txt").peak_kib;

  std::vector<double> copies, programs, ratios;
  for (int i = 0; i < o.runs; ++i) {
    Run c{}, p{};
    auto time_copy = [&] {
      clean(folder, names);
      c = run(copy, folder, "/dev/null");
    };
    auto time_program = [&] {
      clean(folder, names);
      p = run(program, folder, console);
    };
    if (i % 2 == 0) {
      time_copy();
      time_program();
    } else {
      time_program();
      time_copy();
    }
    copies.push_back(c.seconds);
    programs.push_back(p.seconds);
    ratios.push_back(p.seconds / c.seconds);
    row.peak_kib = std::max(row.peak_kib, p.peak_kib);
    std::fprintf(stderr, "%s: run %d of %d: copy %.3f s, program %.3f s\n", kind.c_str(), i + 1,
                 o.runs, c.seconds, p.seconds);
  }
  row.copy_s = median(copies);
  row.program_s = median(programs);
  row.ratio = median(ratios);
  if (!o.keep) {
    fs::remove_all(folder);
    fs::remove_all(one);
  }
  return row;
}

[[noreturn]] void usage() {
  std::fputs(
      "usage: linechain_bench --program PATH --copy PATH --generate PATH --dir FOLDER\n"
      "                       [--runs N] [--keep] [KIND...]\n"
      "kinds: limits chains dupscan real small (all when none is named)\n",
      stderr);
  std::exit(2);
}

Options parse(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) usage();
      return argv[++i];
    };
    if (a == "--program") o.program = fs::absolute(value());
    else if (a == "--copy") o.copy = fs::absolute(value());
    else if (a == "--generate") o.generate = fs::absolute(value());
    else if (a == "--dir") o.dir = fs::absolute(value());
    else if (a == "--runs") o.runs = std::atoi(value().c_str());
    else if (a == "--keep") o.keep = true;
    else if (a.starts_with("-")) usage();
    else if (std::find(std::begin(kAllKinds), std::end(kAllKinds), a) != std::end(kAllKinds))
      o.kinds.push_back(a);
    else usage();
  }
  if (o.program.empty() || o.copy.empty() || o.generate.empty() || o.dir.empty() || o.runs < 1)
    usage();
  if (o.kinds.empty()) o.kinds.assign(std::begin(kAllKinds), std::end(kAllKinds));
  return o;
}

}  // namespace

int main(int argc, char** argv) {
  Options o = parse(argc, argv);
  fs::create_directories(o.dir);
  std::vector<Row> rows;
  for (const std::string& kind : o.kinds) rows.push_back(measure(o, kind));

  std::printf("\n%d alternating runs each; ratio = median of program/copy per pair\n\n", o.runs);
  std::printf("%-8s %5s %11s %8s %10s %6s %9s %12s  %-16s\n", "kind", "files", "bytes",
              "copy s", "program s", "ratio", "peak KiB", "1-file KiB", "output");
  bool met = true;
  for (const Row& r : rows) {
    std::printf("%-8s %5zu %11ju %8.3f %10.3f %6.2f %9ld %12ld  %016llx\n", r.kind.c_str(),
                r.files, r.bytes, r.copy_s, r.program_s, r.ratio, r.peak_kib, r.peak_one_kib,
                static_cast<unsigned long long>(r.output));
    met = met && r.ratio <= kRatioTarget && r.peak_kib <= kPeakTargetKiB &&
          r.peak_one_kib <= kPeakTargetKiB;
  }
  std::printf("\ntargets (ratio <= %.0f, peak <= %ld KiB): %s\n", kRatioTarget, kPeakTargetKiB,
              met ? "met" : "NOT met");
  return 0;
}
