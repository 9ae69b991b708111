// Device queries. adb's standard output is captured through a one-line batch file whose command
// redirects it into a text file in the run directory; the file is read 5 s later and shown.
#include <windows.h>

#include "actions/actions.h"
#include "exec/commands.h"
#include "exec/files.h"
#include "exec/process.h"
#include "exec/run_directory_path.h"
#include "frame/message_box.h"

namespace zandrel {
namespace {

constexpr std::uint32_t kHiddenAttribute = 0x2;
constexpr std::uint32_t kPlainAttributes = 0x20;  // archive alone: not hidden, system or read-only

void RunDeviceQuery(const commands::DeviceQuery& q) {
    const Text batchPath = JoinText({GetRunDirectory(), q.batchSuffix});
    const Text outputPath = JoinText({GetRunDirectory(), q.outputSuffix});

    // The batch file must hold exactly this query's command line before it runs, whatever an earlier
    // run or anybody else left there: unhide it so that it can be rewritten, write, hide again. A
    // batch file that cannot be rewritten is not run at all.
    SetFileAttributeMask(batchPath, kPlainAttributes);
    const bool written = WriteFileBytes(batchPath, TextToBytes(q.commandLine));
    SetFileAttributeMask(batchPath, kHiddenAttribute);

    // An earlier answer must never be shown as the current one: remove the old output file, so that
    // the redirection writes a fresh one (it could not replace a hidden file) and a command that
    // gives no answer in time leaves nothing to read.
    SetFileAttributeMask(outputPath, kPlainAttributes);
    DeleteFileA(outputPath.c_str());

    // The command processor runs in the run directory, whatever the current directory is, so that it
    // finds adb there and writes the output where it is read. The trailing backslash makes the root
    // of a drive ("C:") mean that root.
    if (written) ShellOpen(4, batchPath, std::nullopt, DirectoryWithSeparator(GetRunDirectory()), Hidden);
    SleepBlocking(5000);

    const Text answer = BytesToText(ReadFileBytes(outputPath));
    SetFileAttributeMask(outputPath, kHiddenAttribute);
    ShowMessageBox(answer, kStyleOk);
}

}  // namespace

void QueryModel() { RunDeviceQuery(commands::kQueryModel); }
void QueryResolution() { RunDeviceQuery(commands::kQueryResolution); }
void QueryDensity() { RunDeviceQuery(commands::kQueryDensity); }
void QueryRelease() { RunDeviceQuery(commands::kQueryRelease); }

}  // namespace zandrel
