// The run directory and whole-file operations. Paths go to the ANSI entry points unchanged; relative
// ones resolve against the current directory. No operation reports anything to the user.
#pragma once

#include <cstdint>
#include <string_view>

#include "exec/text.h"

namespace zandrel {

// The full path of zandrel.exe, however long (the buffer grows until the path fits).
Text ModuleFilePath();

// Fixes the run directory (the exe's folder, no trailing backslash; GBK-aware cut) and makes it the
// current directory. Called once at start-up, before any window exists.
void InitRunDirectory();

// A copy of the run directory (empty when the exe path held no backslash).
Text GetRunDirectory();

// Creates or empties the file (CREATE_ALWAYS, no sharing, FILE_ATTRIBUTE_NORMAL) and writes the parts
// in order. False for an empty path, a refused open (an existing file keeps its content), a short
// write or a failed close.
bool WriteFileBytes(std::string_view path, std::initializer_list<const Bytes*> parts);
inline bool WriteFileBytes(std::string_view path, const Bytes& content) { return WriteFileBytes(path, {&content}); }

// The whole content; empty on any failure: empty or missing path, a file another process holds open
// for writing (read sharing only), an empty file, or one of 2 GiB or more.
Bytes ReadFileBytes(std::string_view path);

// Sets the file's whole attribute word to mask & 0x27 (read-only, hidden, system, archive).
bool SetFileAttributeMask(std::string_view path, std::uint32_t mask);

}  // namespace zandrel
