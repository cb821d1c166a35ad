// The file system on POSIX systems: names are bytes, streams never translate
// line ends.
#include <sys/stat.h>

#include "platform/native.h"

namespace linechain::native {

std::filesystem::path to_path(const std::string& name) { return name; }

std::FILE* open_file(const std::filesystem::path& path, Access access) {
  std::FILE* f = std::fopen(path.c_str(), access == Access::kRead ? "rb" : "wb");
  if (!f || access == Access::kWrite) return f;
  // A directory opens for reading here; only its reads fail.
  struct stat st;
  if (fstat(fileno(f), &st) != 0 || S_ISDIR(st.st_mode)) {
    std::fclose(f);
    return nullptr;
  }
  return f;
}

void set_binary_console() {}

}  // namespace linechain::native
