// Helpers shared by the Win32 tests that run under Wine: comparisons whose failure message reads
// "got X, expected Y" (bytes in hex, so GBK can be read), a fresh temporary folder per test, and
// small file and wait utilities that use the platform directly, independently of the code under test.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include "common/byte_assertions.h"

#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace zandrel::wintest {

using zandrel::testkit::AsChars;
using zandrel::testkit::Hex;
using zandrel::testkit::Same;
using zandrel::testkit::SameBytes;

// The ANSI (GBK) path as UTF-16, with the \\?\ prefix when asked, for the wide calls that handle
// paths longer than MAX_PATH.
inline std::wstring Wide(const std::string& ansi, bool longPrefix = false) {
    const int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring w(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), w.data(), n);
    return longPrefix ? L"\\\\?\\" + w : w;
}

// Deletes a folder and everything in it, clearing attributes first (read-only files would stay).
// Works on paths of any length. Best effort: a file another process still holds is left behind.
inline void RemoveTree(const std::wstring& dir) {
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW((dir + L"\\*").c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = dir + L"\\" + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(find, &fd));
        FindClose(find);
    }
    RemoveDirectoryW(dir.c_str());
}

// A fresh, empty folder under the temp directory, removed with its content at the end of the test.
class TempFolder {
public:
    TempFolder() {
        char temp[MAX_PATH];
        const DWORD n = GetTempPathA(sizeof temp, temp);
        std::string base(temp, n < sizeof temp ? n : 0);
        if (!base.empty() && base.back() == '\\') base.pop_back();
        static unsigned counter = 0;
        for (int attempt = 0; attempt < 1000; ++attempt) {
            std::string candidate = base + "\\zandrel_wt_" + std::to_string(GetCurrentProcessId()) + "_" +
                                    std::to_string(++counter);
            if (CreateDirectoryA(candidate.c_str(), nullptr)) {
                path_ = candidate;
                break;
            }
        }
    }
    ~TempFolder() {
        if (path_.empty()) return;
        // A program the test started (cmd running a batch file) may still be working in the folder
        // for a moment: try again for a while.
        const std::wstring wide = Wide(path_, true);
        const ULONGLONG deadline = GetTickCount64() + 5000;
        for (;;) {
            RemoveTree(wide);
            if (GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES || GetTickCount64() > deadline) break;
            Sleep(50);
        }
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    bool ok() const { return !path_.empty(); }
    const std::string& path() const { return path_; }
    std::string operator/(std::string_view name) const { return path_ + "\\" + std::string(name); }

private:
    std::string path_;
};

inline std::string CurrentDirectory() {
    std::string dir(32768, '\0');
    const DWORD n = GetCurrentDirectoryA(static_cast<DWORD>(dir.size()), dir.data());
    dir.resize(n < dir.size() ? n : 0);
    return dir;
}

// Puts the process's current directory back at the end of the scope.
class CurrentDirectoryGuard {
public:
    CurrentDirectoryGuard() : saved_(CurrentDirectory()) {}
    ~CurrentDirectoryGuard() {
        if (!saved_.empty()) SetCurrentDirectoryA(saved_.c_str());
    }
    CurrentDirectoryGuard(const CurrentDirectoryGuard&) = delete;
    CurrentDirectoryGuard& operator=(const CurrentDirectoryGuard&) = delete;

private:
    std::string saved_;
};

// Sets an environment variable of the process (inherited by the programs it starts) for the scope.
class EnvironmentGuard {
public:
    EnvironmentGuard(const char* name, const std::string& value) : name_(name) {
        SetEnvironmentVariableA(name_, value.c_str());
    }
    ~EnvironmentGuard() { SetEnvironmentVariableA(name_, nullptr); }
    EnvironmentGuard(const EnvironmentGuard&) = delete;
    EnvironmentGuard& operator=(const EnvironmentGuard&) = delete;

private:
    const char* name_;
};

// The full path of the running test exe and its folder, straight from the platform.
inline std::string OwnExePath() {
    std::string path(32768, '\0');
    const DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(n < path.size() ? n : 0);
    return path;
}

inline std::string OwnExeFolder() {
    const std::string exe = OwnExePath();
    const std::size_t slash = exe.find_last_of('\\');
    return slash == std::string::npos ? std::string() : exe.substr(0, slash);
}

inline bool FileExists(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

// The whole file, or nothing when it cannot be opened; opened with every sharing mode so that it
// can look at a file another process is still writing.
inline std::optional<std::string> ReadWholeFile(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string content;
    char buf[65536];
    DWORD got = 0;
    while (ReadFile(h, buf, sizeof buf, &got, nullptr) && got > 0) content.append(buf, got);
    CloseHandle(h);
    return content;
}

inline bool WriteWholeFile(const std::string& path, std::string_view content) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = content.empty() ||
                    WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(h);
    return ok && written == content.size();
}

// Polls the condition every few milliseconds until it holds or the deadline has passed.
inline bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (condition()) return true;
        if (GetTickCount64() > deadline) return false;
        Sleep(10);
    }
}

// The names in a folder, "." and ".." left out.
inline std::vector<std::string> FolderEntries(const std::string& dir) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA((dir + "\\*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = fd.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(find, &fd));
    FindClose(find);
    return names;
}

}  // namespace zandrel::wintest
