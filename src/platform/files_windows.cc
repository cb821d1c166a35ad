// The file system on Windows: names become UTF-16 paths, every stream is put
// in binary mode, and reserved device names are no files.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <climits>
#include <initializer_list>

#include "platform/native.h"

namespace linechain::native {

// A name is taken as UTF-8, as file names are on other systems; a name that
// is not valid UTF-8 comes from an older list and is read in the ANSI code
// page.
std::filesystem::path to_path(const std::string& name) {
  if (name.empty() || name.size() > INT_MAX) return {};
  const int size = static_cast<int>(name.size());
  for (UINT code_page : {UINT{CP_UTF8}, UINT{CP_ACP}}) {
    DWORD flags = code_page == CP_UTF8 ? MB_ERR_INVALID_CHARS : 0;
    int n = MultiByteToWideChar(code_page, flags, name.data(), size, nullptr, 0);
    if (n <= 0) continue;
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(code_page, flags, name.data(), size, wide.data(), n);
    return wide;
  }
  return {};
}

std::FILE* open_file(const std::filesystem::path& path, Access access) {
  // A directory does not open at all.
  std::FILE* f = _wfopen(path.c_str(), access == Access::kRead ? L"rb" : L"wb");
  if (!f) return nullptr;
  // NUL, CON, COM1 and the other reserved names, with any extension and in
  // any folder, reach devices rather than files; a data file read from NUL
  // would convert as empty.
  HANDLE h = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(f)));
  if (GetFileType(h) != FILE_TYPE_DISK) {
    std::fclose(f);
    return nullptr;
  }
  return f;
}

void set_binary_console() {
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
}

}  // namespace linechain::native
