#include <windows.h>

#include <cstdlib>
#include <memory>

#include "exec/files.h"
#include "exec/run_directory_path.h"

namespace zandrel {
namespace {

Text g_runDirectory;  // written once by InitRunDirectory, before any window exists

struct HandleCloser {
    void operator()(HANDLE h) const { CloseHandle(h); }
};
using FileHandle = std::unique_ptr<void, HandleCloser>;

FileHandle OpenFile(const Text& path, DWORD access, DWORD share, DWORD disposition) {
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    HANDLE h = CreateFileA(path.c_str(), access, share, &sa, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    return FileHandle(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

}  // namespace

Text ModuleFilePath() {
    Text buffer(MAX_PATH, '\0');
    for (;;) {
        const DWORD n = GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return Text();
        // A path that fills the buffer may have been cut: try again with twice the room.
        if (n < buffer.size() - 1) return buffer.substr(0, n);
        if (buffer.size() >= 32768 * 3) return buffer.substr(0, n);
        buffer.assign(buffer.size() * 2, '\0');
    }
}

void InitRunDirectory() {
    g_runDirectory = Text(DirectoryOfPath(ModuleFilePath()));
    // With the trailing backslash, the run directory of an exe in a drive's root ("C:") names that
    // root, not whatever the drive's current directory happens to be.
    SetCurrentDirectoryA(DirectoryWithSeparator(g_runDirectory).c_str());
}

Text GetRunDirectory() { return g_runDirectory; }

bool WriteFileBytes(std::string_view path, std::initializer_list<const Bytes*> parts) {
    const Text p(TextView(path));
    if (p.empty()) return false;
    FileHandle file = OpenFile(p, GENERIC_WRITE, 0, CREATE_ALWAYS);
    if (!file) return false;
    for (const Bytes* part : parts) {
        if (part->empty()) continue;
        DWORD written = 0;
        if (!WriteFile(file.get(), part->data(), static_cast<DWORD>(part->size()), &written, nullptr) ||
            written != part->size())
            return false;  // the handle closes; the file keeps what was written so far
    }
    return CloseHandle(file.release()) != 0;
}

Bytes ReadFileBytes(std::string_view path) {
    const Text p(TextView(path));
    if (p.empty()) return {};
    FileHandle file = OpenFile(p, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING);
    if (!file) return {};
    // The high part is asked for so that a file of 4 GiB and more is recognised as too large instead
    // of being read as its size modulo 4 GiB.
    LONG high = 0;
    SetLastError(NO_ERROR);
    const DWORD size = SetFilePointer(file.get(), 0, &high, FILE_END);
    if (size == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) return {};
    if (high != 0) return {};
    if (SetFilePointer(file.get(), 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return {};
    if (static_cast<LONG>(size) <= 0) return {};  // empty, or 2 GiB and more
    // A read buffer that cannot be had makes the read fail, not the program; malloc, unlike new,
    // never reaches the out-of-memory stop.
    std::unique_ptr<std::uint8_t, decltype(&std::free)> buffer(static_cast<std::uint8_t*>(std::malloc(size)), &std::free);
    if (!buffer) return {};
    DWORD got = 0;
    if (!ReadFile(file.get(), buffer.get(), size, &got, nullptr)) return {};
    return Bytes(buffer.get(), buffer.get() + got);
}

bool SetFileAttributeMask(std::string_view path, std::uint32_t mask) {
    const Text p(TextView(path));
    return SetFileAttributesA(p.c_str(), mask & 0x27) != 0;
}

}  // namespace zandrel
