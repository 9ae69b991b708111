// Zandrel's benchmark: start-up, memory, size, processor time during the two 5 s waits, and the
// end-to-end time of a device query, measured under Wine against references taken in the same run.
// It prints one Markdown table; it asserts nothing.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "../tests/e2e/e2e_support.h"

using namespace e2e;
using zandrel::WindowId;

namespace {

constexpr int kRuns = 5;

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double NowMs() {
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return 1000.0 * static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

double CpuMs(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
    auto ms = [](const FILETIME& t) {
        return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

struct EnumQuery { DWORD pid; HWND found = nullptr; };
BOOL CALLBACK FindVisible(HWND hwnd, LPARAM lp) {
    auto* q = reinterpret_cast<EnumQuery*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == q->pid && IsWindowVisible(hwnd) && GetWindowTextLengthA(hwnd) > 0) {
        q->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

struct Started {
    PROCESS_INFORMATION pi{};
    HWND window = nullptr;
    double startupMs = 0;
};

// Starts a program and times it from CreateProcess until its captioned window is visible.
Started StartTimed(const std::string& exe, const std::string& dir) {
    Started s;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    std::string cmd = "\"" + exe + "\"";
    const double t0 = NowMs();
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &s.pi)) return s;
    EnumQuery q{s.pi.dwProcessId};
    WaitFor([&] { EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&q)); return q.found != nullptr; }, 20000);
    s.startupMs = NowMs() - t0;
    s.window = q.found;
    return s;
}

void Stop(Started& s) {
    if (s.window) PostMessageA(s.window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(s.pi.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(s.pi.hProcess, 1);
    CloseHandle(s.pi.hThread);
    CloseHandle(s.pi.hProcess);
}

struct ProgramFigures { double startupMs, peakWorkingSetMb, privateMb; };

ProgramFigures MeasureProgram(const std::string& exe, const std::string& dir) {
    std::vector<double> startup, peak, priv;
    for (int i = 0; i < kRuns; ++i) {
        Started s = StartTimed(exe, dir);
        Sleep(500);  // let it settle before reading its memory
        PROCESS_MEMORY_COUNTERS_EX pmc{};
        pmc.cb = sizeof pmc;
        GetProcessMemoryInfo(s.pi.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc);
        startup.push_back(s.startupMs);
        peak.push_back(static_cast<double>(pmc.PeakWorkingSetSize) / (1024.0 * 1024.0));
        priv.push_back(static_cast<double>(pmc.PrivateUsage ? pmc.PrivateUsage : pmc.PagefileUsage) / (1024.0 * 1024.0));
        Stop(s);
    }
    return {Median(startup), Median(peak), Median(priv)};
}

// The table goes to a file as well as to stdout: the consoles of the tools that the program starts
// share Wine's stdout and may write into it meanwhile.
FILE* g_table = nullptr;

void Print(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Print(const char* format, ...) {
    va_list args;
    va_start(args, format);
    char line[512];
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    std::fputs(line, stdout);
    if (g_table) std::fputs(line, g_table);
}

void Row(const char* what, double value, const char* unit, double reference, const char* refName) {
    if (reference > 0)
        Print("| %s | %.1f %s | %.1f %s (%s) | %.3f |\n", what, value, unit, reference, unit, refName, value / reference);
    else
        Print("| %s | %.1f %s | %s | - |\n", what, value, unit, refName);
}

}  // namespace

int main() {
    const std::string dir = DriverDirectory();
    Sandbox box(SandboxOptions().Suffix("bench"));
    const std::string zandrel = box.Path("zandrel.exe");
    const std::string floor = dir + "\\floor.exe";

    // Warm-up: the first Wine start of a program pays for loading its libraries.
    { Started s = StartTimed(zandrel, box.dir()); Stop(s); }
    { Started s = StartTimed(floor, dir); Stop(s); }

    const ProgramFigures z = MeasureProgram(zandrel, box.dir());
    const ProgramFigures f = MeasureProgram(floor, dir);

    WIN32_FILE_ATTRIBUTE_DATA fa{};
    GetFileAttributesExA(zandrel.c_str(), GetFileExInfoStandard, &fa);
    const double sizeKb = static_cast<double>(fa.nFileSizeLow) / 1024.0;

    // Reference for the processor figures: the floor program sitting idle for 5 s.
    std::vector<double> idleCpu;
    for (int i = 0; i < kRuns; ++i) {
        Started s = StartTimed(floor, dir);
        Sleep(300);
        const double c0 = CpuMs(s.pi.hProcess);
        Sleep(5000);
        idleCpu.push_back(CpuMs(s.pi.hProcess) - c0);
        Stop(s);
    }

    // Device query: processor time during the blocking 5 s sleep and the time from click to box.
    std::vector<double> queryCpu, queryTotal;
    {
        App app(box);
        for (int i = 0; i < kRuns && app.main(); ++i) {
            HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, app.pid());
            const double c0 = CpuMs(process), t0 = NowMs();
            Click(Control(app.main(), WindowId::Main, "按钮6"));
            HWND msg = app.WaitForMessageBox(15000);
            queryTotal.push_back(NowMs() - t0);
            queryCpu.push_back(CpuMs(process) - c0);
            CloseHandle(process);
            if (msg) CloseMessageBox(msg);
        }
    }

    // Recovery flash: processor time of the program during its 5 s DelayWithEvents, from the first
    // notice's OK to the last notice.
    std::vector<double> delayCpu;
    {
        App app(box);
        if (app.main()) {
            Click(Control(app.main(), WindowId::Main, "按钮11"));
            if (HWND confirm = app.WaitForMessageBox()) CloseMessageBox(confirm, IDOK);
            HWND recovery = app.WaitForWindow(WindowId::Recovery);
            for (int i = 0; i < kRuns && recovery; ++i) {
                Click(Control(recovery, WindowId::Recovery, "按钮4"));
                HWND first = app.WaitForMessageBox();
                if (!first) break;
                HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, app.pid());
                const double c0 = CpuMs(process);
                CloseMessageBox(first);
                HWND last = app.WaitForMessageBox(15000);
                delayCpu.push_back(CpuMs(process) - c0);
                CloseHandle(process);
                if (last) CloseMessageBox(last);
            }
        }
    }

    g_table = std::fopen((dir + "\\bench-result.md").c_str(), "w");
    Print("| figure (median of %d runs) | zandrel.exe | reference | ratio |\n|---|---|---|---|\n", kRuns);
    Row("start-up until MainWindow is visible", z.startupMs, "ms", f.startupMs, "minimal Win32 window");
    Row("peak working set", z.peakWorkingSetMb, "MiB", f.peakWorkingSetMb, "minimal Win32 window");
    Row("private bytes", z.privateMb, "MiB", f.privateMb, "minimal Win32 window");
    Row("size of zandrel.exe", sizeKb, "KiB", 0, "static, with libpng and zlib");
    // Processor time against the wall time of the wait: a polling wait would come close to 1.
    const double idle = Median(idleCpu);
    Row("CPU during the flash's 5000 ms DelayWithEvents", delayCpu.empty() ? -1 : Median(delayCpu), "ms", 5000,
        "wall time of the wait");
    Row("CPU during a query's 5000 ms SleepBlocking", queryCpu.empty() ? -1 : Median(queryCpu), "ms", 5000,
        "wall time of the wait");
    Row("CPU of the minimal window idle for 5 s", idle, "ms", 5000, "wall time");
    const double total = queryTotal.empty() ? -1 : Median(queryTotal);
    Row("device query, click to box", total, "ms", 5000, "the fixed 5000 ms wait");
    Print("| device query overhead above 5000 ms | %.1f ms | - | - |\n", total - 5000);
    if (g_table) std::fclose(g_table);
    return 0;
}
