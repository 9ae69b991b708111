// A stand-in for adb.exe and fastboot.exe (the same program under both names). It appends one record
// of how it was started to tool.log beside itself: its name, the STARTUPINFO show flags, the current
// directory, the raw command line and the arguments as the C runtime splits them. As adb it answers
// the four device queries with canned output (CRLF line endings, like a real phone's shell), or with
// the bytes of adb_answer.bin beside it when that file exists.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string OwnDirectory(std::string* name) {
    char path[4096] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string p(path);
    // The last backslash that is not the trail byte of a double-byte character.
    std::size_t last = std::string::npos;
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (IsDBCSLeadByte(static_cast<BYTE>(p[i])) && i + 1 < p.size()) { ++i; continue; }
        if (p[i] == '\\') last = i;
    }
    if (name) *name = p.substr(last + 1);
    return p.substr(0, last);
}

std::string Narrow(const wchar_t* w) {
    const int n = WideCharToMultiByte(CP_ACP, 0, w, -1, nullptr, 0, nullptr, nullptr);
    std::string s(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) WideCharToMultiByte(CP_ACP, 0, w, -1, s.data(), n, nullptr, nullptr);
    return s;
}

void AppendRecord(const std::string& path, const std::string& record) {
    // Several fakes may start at once: retry while another one holds the log.
    for (int attempt = 0; attempt < 200; ++attempt) {
        HANDLE h = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(h, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
            CloseHandle(h);
            return;
        }
        Sleep(10);
    }
}

std::string CannedAnswer(const std::vector<std::string>& args) {
    auto is = [&](std::initializer_list<const char*> words) {
        if (args.size() != words.size() + 1) return false;
        std::size_t i = 1;
        for (const char* w : words) if (args[i++] != w) return false;
        return true;
    };
    if (is({"shell", "getprop", "ro.product.model"})) return "ZANDREL-TEST-PHONE\r\n";
    if (is({"shell", "wm", "size"})) return "Physical size: 1080x2340\r\n";
    if (is({"shell", "wm", "density"})) return "Physical density: 440\r\n";
    if (is({"shell", "getprop", "ro.build.version.release"})) return "12\r\n";
    return "";
}

}  // namespace

int main() {
    std::string name;
    const std::string dir = OwnDirectory(&name);

    STARTUPINFOA si{};
    si.cb = sizeof si;
    GetStartupInfoA(&si);
    char cwd[4096] = {};
    GetCurrentDirectoryA(sizeof cwd, cwd);

    int argc = 0;
    wchar_t** argvW = CommandLineToArgvW(GetCommandLineW(), &argc);
    std::vector<std::string> args;
    for (int i = 0; i < argc; ++i) args.push_back(Narrow(argvW[i]));
    LocalFree(argvW);

    // Fields are separated by 0x1F, records end with 0x1E: neither can occur in a path or argument.
    char flags[64];
    std::snprintf(flags, sizeof flags, "%lu\x1f%u", static_cast<unsigned long>(si.dwFlags),
                  static_cast<unsigned>(si.wShowWindow));
    std::string record = name + "\x1f" + flags + "\x1f" + cwd + "\x1f" + GetCommandLineA();
    for (std::size_t i = 1; i < args.size(); ++i) record += "\x1f" + args[i];
    record += "\x1e";
    AppendRecord(dir + "\\tool.log", record);

    std::string answer;
    const std::string override = dir + "\\adb_answer.bin";
    if (FILE* f = std::fopen(override.c_str(), "rb")) {
        char buf[4096];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) answer.append(buf, n);
        std::fclose(f);
    } else {
        answer = CannedAnswer(args);
    }
    if (lstrcmpiA(name.c_str(), "adb.exe") == 0 && !answer.empty()) {
        DWORD written = 0;
        WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), answer.data(), static_cast<DWORD>(answer.size()), &written, nullptr);
    }
    return 0;
}
