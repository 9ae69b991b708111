// The release zip, as a Windows user unpacks it: the test command unpacks it into
// build/windows/package-check; the program must start from there and find its files.
#include <gtest/gtest.h>

#include "e2e_support.h"

#include <shellapi.h>

#include <vector>

using namespace e2e;

namespace {
std::string UnpackedFolder() {
    const std::string build = DriverDirectory().substr(0, DriverDirectory().rfind("\\tests\\e2e"));
    return build + "\\package-check\\zandrel-1.0.0-win32";
}
bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
}  // namespace

TEST(Package, UnpackedZipHoldsTheProgramItsNotesReadMeAndLicence) {
    const std::string dir = UnpackedFolder();
    for (const char* name : {"zandrel.exe", "Brovanek\\a.txt", "README.txt", "LICENSE"})
        EXPECT_TRUE(Exists(dir + "\\" + name)) << dir << "\\" << name << " is missing";
}

// What Explorer shows of the exe: its icon and its version resource.
TEST(Package, TheExecutableCarriesItsIconAndVersion) {
    const std::string exe = UnpackedFolder() + "\\zandrel.exe";
    ASSERT_TRUE(Exists(exe));
    EXPECT_GE(ExtractIconExA(exe.c_str(), -1, nullptr, nullptr, 0), 1u) << "no icon in the exe";
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(exe.c_str(), &handle);
    ASSERT_GT(size, 0u) << "no version resource";
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(exe.c_str(), 0, size, info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT len = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &len));
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u) << std::hex << "got " << fixed->dwProductVersionMS;
    const struct { const char* key; const char* expected; } strings[] = {
        {"ProductName", "Zandrel"}, {"ProductVersion", "1.0.0"}, {"OriginalFilename", "zandrel.exe"}};
    for (const auto& s : strings) {
        char* value = nullptr;
        const std::string key = std::string("\\StringFileInfo\\040904B0\\") + s.key;
        ASSERT_TRUE(VerQueryValueA(info.data(), key.c_str(), reinterpret_cast<void**>(&value), &len)) << s.key;
        EXPECT_STREQ(value, s.expected) << s.key;
    }
    char* description = nullptr;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\StringFileInfo\\040904B0\\FileDescription",
                               reinterpret_cast<void**>(&description), &len));
    EXPECT_GT(std::string(description).size(), 10u);
}

TEST(Package, ZandrelStartsFromTheUnpackedFolderAndEndsCleanly) {
    const std::string dir = UnpackedFolder();
    ASSERT_TRUE(Exists(dir + "\\zandrel.exe")) << "run the package target and unpack it first";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string cmd = "\"" + dir + "\\zandrel.exe\"";
    ASSERT_TRUE(CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    HWND main = nullptr;
    WaitFor([&] { return (main = FindWindowA("ZandrelWindow", "Zandrel By Quivon")) != nullptr && IsWindowVisible(main); }, 15000);
    ASSERT_TRUE(main) << "MainWindow did not appear";
    PostMessageA(main, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(pi.hProcess, 10000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_EQ(code, 0u);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}
