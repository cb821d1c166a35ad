// What the file system of files.h needs from the platform underneath: how a
// name read from the list becomes a path, how a file is opened as a binary
// stream, and how standard output and standard error are made to pass bytes
// through unchanged. One implementation per platform, chosen by the build:
// files_posix.cc and files_windows.cc.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

namespace linechain::native {

/// The path a name from the list (bytes, free of NUL) stands for.
std::filesystem::path to_path(const std::string& name);

enum class Access { kRead, kWrite };

/// Opens the file for reading, or creates (empties) it for writing, as a
/// binary stream. Null when that fails, or when the name reaches something
/// that is no file to convert: a directory, or on Windows a device behind a
/// reserved name.
std::FILE* open_file(const std::filesystem::path& path, Access access);

/// Standard output and standard error write every byte as it is: no line-end
/// translation, so a CR LF written by the text layer stays CR LF.
void set_binary_console();

}  // namespace linechain::native
