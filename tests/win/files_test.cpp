// Whole-file writing and reading, file attributes and the run directory, against real files in a
// fresh temporary folder per test. The folder is also the current directory during each test, so
// that anything a call creates by mistake under a relative name shows up in it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "exec/files.h"
#include "win_test_support.h"

namespace zandrel {
namespace {

using wintest::AsChars;
using wintest::Hex;
using wintest::Same;
using wintest::SameBytes;

Bytes ToBytes(std::string_view s) { return Bytes(s.begin(), s.end()); }

// Zero bytes, CR LF, a byte above 0x7F and GBK text whose second byte is a backslash (乗 = 81 5C).
const std::string kMixedContent("\0A\0\xFF\r\n信息：乗\0", 16);

// 70000 bytes, more than one 64 KiB block, with every byte value.
std::string LargeContent() {
    std::string s(70000, '\0');
    for (std::size_t i = 0; i < s.size(); ++i) s[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
    return s;
}

// The file's attribute bits that the tests look at. Wine always adds ARCHIVE, so it is left out, and
// keeps no bit but these three (a mask that let other bits through would not show under Wine).
constexpr DWORD kCheckedAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

std::string AttributesText(DWORD a) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%lX", static_cast<unsigned long>(a));
    return buf;
}

// Another handle on the file, closed at the end of the scope.
class OpenHandle {
public:
    OpenHandle(const std::string& path, DWORD access, DWORD share)
        : h_(CreateFileA(path.c_str(), access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~OpenHandle() { Close(); }
    OpenHandle(const OpenHandle&) = delete;
    OpenHandle& operator=(const OpenHandle&) = delete;
    bool ok() const { return h_ != INVALID_HANDLE_VALUE; }
    void Close() {
        if (ok()) CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE h_;
};

class FilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(temp_.ok()) << "could not create a temporary folder";
        ASSERT_TRUE(SetCurrentDirectoryA(temp_.path().c_str()));
    }

    // Whether the platform refuses to open a read-only file for writing. Windows always does; Wine
    // maps read-only to the Unix write permission, which does not stop root.
    bool PlatformRefusesWritingReadOnlyFiles() {
        const std::string probe = temp_ / "read_only_probe";
        if (!wintest::WriteWholeFile(probe, "x") || !SetFileAttributesA(probe.c_str(), FILE_ATTRIBUTE_READONLY))
            return true;
        HANDLE h = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        const bool refused = h == INVALID_HANDLE_VALUE;
        if (!refused) CloseHandle(h);
        SetFileAttributesA(probe.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(probe.c_str());
        return refused;
    }

    wintest::TempFolder temp_;
    wintest::CurrentDirectoryGuard cwd_;
};

TEST_F(FilesTest, WriteFileBytesRefusesAnEmptyOrUnusablePathAndCreatesNothing) {
    struct Case {
        const char* what;
        std::string path;
    };
    const Case cases[] = {
        {"empty path", ""},
        {"path beginning with a zero byte", std::string("\0a.txt", 6)},
        {"folder that does not exist", temp_ / "missing\\a.txt"},
        {"an existing folder", temp_.path()},
    };
    const Bytes content = ToBytes("adb devices");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(Same(WriteFileBytes(c.path, content), false));
    }
    EXPECT_TRUE(Same(wintest::FolderEntries(temp_.path()).size(), 0u)) << "entries in the temporary folder";
}

TEST_F(FilesTest, WriteFileBytesWritesExactlyTheGivenBytesOverWhateverWasThere) {
    struct Case {
        const char* what;
        std::string content;
    };
    const Case cases[] = {
        {"zero bytes, CR LF and GBK", kMixedContent},
        {"a single zero byte", std::string(1, '\0')},
        {"70000 bytes", LargeContent()},
        {"a batch file line", "adb shell getprop ro.product.model > a.txt"},
    };
    const std::string path = temp_ / "a.bat";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (const bool existedBefore : {false, true}) {
            SCOPED_TRACE(existedBefore ? "over a longer existing file" : "new file");
            DeleteFileA(path.c_str());
            if (existedBefore) {
                ASSERT_TRUE(wintest::WriteWholeFile(path, std::string(c.content.size() + 100, 'z')));
            }
            EXPECT_TRUE(WriteFileBytes(path, ToBytes(c.content)));
            const auto got = wintest::ReadWholeFile(path);
            ASSERT_TRUE(got) << "got no file, expected one";
            EXPECT_TRUE(SameBytes(*got, c.content));
        }
    }
}

TEST_F(FilesTest, WriteFileBytesWithEmptyBytesCreatesOrEmptiesTheFile) {
    const std::string fresh = temp_ / "fresh.txt";
    EXPECT_TRUE(WriteFileBytes(fresh, Bytes{}));
    const auto created = wintest::ReadWholeFile(fresh);
    ASSERT_TRUE(created) << "got no file, expected an empty one";
    EXPECT_TRUE(SameBytes(*created, ""));

    const std::string existing = temp_ / "existing.txt";
    ASSERT_TRUE(wintest::WriteWholeFile(existing, "old content"));
    EXPECT_TRUE(WriteFileBytes(existing, Bytes{}));
    const auto emptied = wintest::ReadWholeFile(existing);
    ASSERT_TRUE(emptied) << "got no file, expected an empty one";
    EXPECT_TRUE(SameBytes(*emptied, ""));
}

TEST_F(FilesTest, WriteFileBytesWritesSeveralPartsInOrder) {
    const Bytes first = ToBytes(std::string("ab\0", 3)), empty, last = ToBytes("信息");
    const std::string path = temp_ / "parts.bin";
    EXPECT_TRUE(WriteFileBytes(path, {&first, &empty, &last}));
    const auto got = wintest::ReadWholeFile(path);
    ASSERT_TRUE(got) << "got no file, expected one";
    EXPECT_TRUE(SameBytes(*got, std::string("ab\0信息", 7)));
}

TEST_F(FilesTest, WriteFileBytesFailsOnAFileThatIsOpenElsewhereAndKeepsItsContent) {
    const std::string path = temp_ / "busy.txt";
    ASSERT_TRUE(wintest::WriteWholeFile(path, "kept"));
    {
        // Even a reader that allows everybody else in blocks the exclusive open.
        OpenHandle other(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
        ASSERT_TRUE(other.ok());
        EXPECT_TRUE(Same(WriteFileBytes(path, ToBytes("new")), false));
    }
    EXPECT_TRUE(SameBytes(wintest::ReadWholeFile(path).value_or("(no file)"), "kept"));
}

TEST_F(FilesTest, WriteFileBytesFailsOnAReadOnlyFileAndKeepsIt) {
    if (!PlatformRefusesWritingReadOnlyFiles())
        GTEST_SKIP() << "this platform lets the process write read-only files (Wine running as root), so there "
                        "is no refusal to observe";
    const std::string path = temp_ / "read_only.txt";
    ASSERT_TRUE(wintest::WriteWholeFile(path, "kept"));
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(Same(WriteFileBytes(path, ToBytes("new")), false));
    EXPECT_TRUE(SameBytes(wintest::ReadWholeFile(path).value_or("(no file)"), "kept"));
    EXPECT_TRUE(Same(AttributesText(GetFileAttributesA(path.c_str()) & kCheckedAttributes),
                     AttributesText(FILE_ATTRIBUTE_READONLY)));
}

TEST_F(FilesTest, ReadFileBytesReturnsTheWholeContent) {
    struct Case {
        const char* what;
        std::string content;
    };
    const Case cases[] = {
        {"zero bytes, CR LF and GBK", kMixedContent},
        {"70000 bytes", LargeContent()},
        {"one byte", "7"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(wintest::WriteWholeFile(temp_ / "a.txt", c.content));
        EXPECT_TRUE(SameBytes(AsChars(ReadFileBytes(temp_ / "a.txt")), c.content)) << "full path";
        EXPECT_TRUE(SameBytes(AsChars(ReadFileBytes("a.txt")), c.content)) << "relative to the current directory";
    }
}

// A file of the given size whose content is a hole: it takes no room on disk.
bool MakeSparseFile(const std::string& path, LONGLONG size) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD ignored = 0;
    DeviceIoControl(h, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &ignored, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = size;
    const bool ok = SetFilePointerEx(h, end, nullptr, FILE_BEGIN) && SetEndOfFile(h);
    CloseHandle(h);
    return ok;
}

TEST_F(FilesTest, ReadFileBytesIsEmptyWhenThereIsNothingToRead) {
    ASSERT_TRUE(wintest::WriteWholeFile(temp_ / "empty.txt", ""));
    ASSERT_TRUE(CreateDirectoryA((temp_ / "folder").c_str(), nullptr));
    // Sizes that a 32-bit signed count cannot hold: 2 GiB, and 4 GiB + 10 bytes, whose low 32 bits
    // alone would read as a 10-byte file.
    ASSERT_TRUE(MakeSparseFile(temp_ / "2gib.bin", 0x80000000LL));
    ASSERT_TRUE(MakeSparseFile(temp_ / "4gib.bin", 0x10000000ALL));
    struct Case {
        const char* what;
        std::string path;
    };
    const Case cases[] = {
        {"missing file", temp_ / "missing.txt"},
        {"empty file", temp_ / "empty.txt"},
        {"empty path", ""},
        {"a folder", temp_ / "folder"},
        {"2 GiB file", temp_ / "2gib.bin"},
        {"4 GiB + 10 bytes file", temp_ / "4gib.bin"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(SameBytes(AsChars(ReadFileBytes(c.path)), ""));
    }
}

TEST_F(FilesTest, ReadFileBytesIsEmptyWhileAnotherHandleHoldsTheFileForWriting) {
    const std::string path = temp_ / "b.txt";
    ASSERT_TRUE(wintest::WriteWholeFile(path, "1080x2340"));
    OpenHandle writer(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_TRUE(writer.ok());
    EXPECT_TRUE(SameBytes(AsChars(ReadFileBytes(path)), "")) << "while the writer is open";
    writer.Close();
    EXPECT_TRUE(SameBytes(AsChars(ReadFileBytes(path)), "1080x2340")) << "once the writer has closed";
}

TEST_F(FilesTest, ReadFileBytesSharesTheFileWithOtherReaders) {
    const std::string path = temp_ / "c.txt";
    ASSERT_TRUE(wintest::WriteWholeFile(path, "440"));
    OpenHandle reader(path, GENERIC_READ, FILE_SHARE_READ);
    ASSERT_TRUE(reader.ok());
    EXPECT_TRUE(SameBytes(AsChars(ReadFileBytes(path)), "440"));
}

TEST_F(FilesTest, SetFileAttributeMaskReplacesTheAttributesWithTheKeptBits) {
    struct Case {
        const char* what;
        std::uint32_t mask;
        DWORD expected;  // of kCheckedAttributes
    };
    const Case cases[] = {
        {"hidden", 0x02, FILE_ATTRIBUTE_HIDDEN},
        {"0x82 keeps only hidden", 0x82, FILE_ATTRIBUTE_HIDDEN},
        {"read-only and system", 0x05, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM},
        {"all four kept bits", 0x27, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM},
        {"zero clears everything", 0, 0},
    };
    const std::string path = temp_ / "a.txt";
    ASSERT_TRUE(wintest::WriteWholeFile(path, "x"));
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.what) + ", mask " + AttributesText(c.mask));
        // Start from read-only and system, so that clearing them shows.
        ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM));
        EXPECT_TRUE(SetFileAttributeMask(path, c.mask));
        EXPECT_TRUE(Same(AttributesText(GetFileAttributesA(path.c_str()) & kCheckedAttributes),
                         AttributesText(c.expected)));
    }
}

TEST_F(FilesTest, SetFileAttributeMaskFailsOnAMissingFileOrAnEmptyPath) {
    EXPECT_TRUE(Same(SetFileAttributeMask(temp_ / "a.txt", 2), false)) << "missing file";
    EXPECT_TRUE(Same(SetFileAttributeMask("", 2), false)) << "empty path";
    EXPECT_TRUE(Same(wintest::FolderEntries(temp_.path()).size(), 0u)) << "entries in the temporary folder";
    EXPECT_TRUE(Same(AttributesText(GetFileAttributesA(temp_.path().c_str()) & kCheckedAttributes),
                     AttributesText(0)))
        << "attributes of the current directory";
}

TEST_F(FilesTest, InitRunDirectoryFixesTheExeFolderAndMakesItCurrent) {
    const std::string exe = wintest::OwnExePath();
    const std::string folder = wintest::OwnExeFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(SameBytes(ModuleFilePath(), exe)) << "ModuleFilePath";
    InitRunDirectory();
    EXPECT_TRUE(SameBytes(GetRunDirectory(), folder)) << "run directory";
    EXPECT_TRUE(SameBytes(wintest::CurrentDirectory(), folder)) << "current directory";
}

// A copy of run_dir_probe.exe (which starts up like the product) in a folder whose GBK path is over
// 300 bytes reports that whole folder. Windows and Wine cannot start an exe whose path has 260 UTF-16
// characters or more, but in GBK every Chinese character takes two bytes: 40-character folder names
// make the path long in bytes while it stays short in characters. The exe's own name holds 乗, whose
// second byte is 0x5C, so that a cut at the last 0x5C byte would go wrong.
TEST_F(FilesTest, RunDirectoryOfAnExeInAFolderOfOver300BytesIsTheWholeFolder) {
    const std::string source = wintest::OwnExeFolder() + "\\run_dir_probe.exe";
    ASSERT_TRUE(wintest::FileExists(source)) << "run_dir_probe.exe is missing beside the test exe";

    std::string segment;
    for (int i = 0; i < 20; ++i) segment += "目录";
    std::string folder = temp_.path();
    for (int i = 0; i < 4; ++i) {
        folder += "\\" + segment;
        ASSERT_TRUE(CreateDirectoryW(wintest::Wide(folder, true).c_str(), nullptr))
            << "could not create " << Hex(folder) << ", error " << GetLastError();
    }
    ASSERT_GE(folder.size(), 300u) << "the folder path is too short for the test";
    const std::string exe = folder + "\\探针乗.exe";
    ASSERT_TRUE(CopyFileW(wintest::Wide(source, true).c_str(), wintest::Wide(exe, true).c_str(), FALSE))
        << "error " << GetLastError();

    const std::string report = temp_ / "probe.txt";
    wintest::EnvironmentGuard out("ZANDREL_PROBE_OUT", report);
    std::string commandLine = "\"" + exe + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        << "could not start the probe from a path of " << exe.size() << " bytes, error " << GetLastError();
    CloseHandle(pi.hThread);
    const DWORD waited = WaitForSingleObject(pi.hProcess, 20000);
    DWORD exitCode = 0;
    GetExitCodeProcess(pi.hProcess, &exitCode);
    if (waited != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hProcess);
    ASSERT_TRUE(Same(waited, static_cast<DWORD>(WAIT_OBJECT_0))) << "the probe had not ended after 20 s";
    ASSERT_TRUE(Same(exitCode, 0ul)) << "exit code of the probe";

    const std::string got = wintest::ReadWholeFile(report).value_or("");
    auto line = [&](const std::string& key) {
        const std::size_t at = got.find(key + "=");
        if (at == std::string::npos) return std::string("(missing)");
        const std::size_t from = at + key.size() + 1;
        return got.substr(from, got.find('\n', from) - from);
    };
    EXPECT_TRUE(SameBytes(line("module"), exe)) << "ModuleFilePath";
    EXPECT_TRUE(SameBytes(line("rundir"), folder)) << "run directory";
    EXPECT_TRUE(SameBytes(line("cwd"), folder)) << "current directory";
}

}  // namespace
}  // namespace zandrel
