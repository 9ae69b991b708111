// Test helper: starts up the way zandrel.exe does (InitRunDirectory) and reports what it got, one
// value a line: the module path, the run directory and the current directory afterwards. The report
// goes to the file named by ZANDREL_PROBE_OUT, so the helper can sit in any folder, however deep.
#include <windows.h>

#include <string>

#include "exec/files.h"

int main() {
    zandrel::InitRunDirectory();
    std::string current(32768, '\0');
    const DWORD n = GetCurrentDirectoryA(static_cast<DWORD>(current.size()), current.data());
    current.resize(n < current.size() ? n : 0);

    const std::string report = "module=" + zandrel::ModuleFilePath() + "\nrundir=" + zandrel::GetRunDirectory() +
                               "\ncwd=" + current + "\n";
    char out[4096];
    const DWORD m = GetEnvironmentVariableA("ZANDREL_PROBE_OUT", out, sizeof out);
    if (m == 0 || m >= sizeof out) return 101;
    HANDLE file = CreateFileA(out, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 102;
    DWORD written = 0;
    const BOOL ok = WriteFile(file, report.data(), static_cast<DWORD>(report.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == report.size() ? 0 : 103;
}
