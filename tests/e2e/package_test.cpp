// The release zip, as a Windows user unpacks it: the test command unpacks it into
// build/windows/package-check; the program must start from there and find its files.
#include <gtest/gtest.h>

#include "e2e_support.h"

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
