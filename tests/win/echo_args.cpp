// Test helper started by the process tests. It records how it was started — the exact bytes of its
// command line and the show command of its startup record — then exits with the code given as
// "--exit=N". "--sleep=N" makes it wait N ms first, so that a caller that does not wait for it
// would return before the record exists.
//
// The record goes to the file named by ZANDREL_ECHO_OUT (inherited from the test, so tests that run
// side by side do not share a file), or to echo_args.txt beside the exe. It is written under a
// temporary name and renamed, so a reader never sees half of it.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

int NumberAfter(const char* commandLine, const char* key, int fallback) {
    const char* at = std::strstr(commandLine, key);
    return at ? std::atoi(at + std::strlen(key)) : fallback;
}

std::string OutputPath() {
    char buffer[4096];
    const DWORD n = GetEnvironmentVariableA("ZANDREL_ECHO_OUT", buffer, sizeof buffer);
    if (n > 0 && n < sizeof buffer) return std::string(buffer, n);
    const DWORD m = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    std::string path(buffer, m < sizeof buffer ? m : 0);
    const std::size_t slash = path.find_last_of('\\');
    return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + "echo_args.txt";
}

}  // namespace

int main() {
    const char* commandLine = GetCommandLineA();
    STARTUPINFOA si{};
    si.cb = sizeof si;
    GetStartupInfoA(&si);

    const int sleepMs = NumberAfter(commandLine, "--sleep=", 0);
    if (sleepMs > 0) Sleep(static_cast<DWORD>(sleepMs));

    char header[64];
    const int headerLength = std::snprintf(header, sizeof header, "flags=%lu show=%u\n",
                                           static_cast<unsigned long>(si.dwFlags), si.wShowWindow);
    std::string record(header, static_cast<std::size_t>(headerLength));
    record += commandLine;

    const std::string path = OutputPath();
    const std::string part = path + ".part";
    HANDLE file = CreateFileA(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 101;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
    CloseHandle(file);
    if (!ok || written != record.size()) return 102;
    if (!MoveFileExA(part.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) return 103;
    return NumberAfter(commandLine, "--exit=", 0);
}
