// Starting other programs and waiting, on the UI thread. Nothing here keeps state between calls or
// shows anything to the user.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "exec/show_mode.h"

namespace zandrel {

// Starts the program named by the command line's first token (the platform's search: the exe's
// folder, the current directory, the system folders, PATH), with no quoting added. Without the wait
// flag it waits at most 1000 ms for the program to become idle; with it, until the program ends.
// Returns false when the program could not be started; never reads its exit code.
bool RunCommandLine(std::string_view commandLine, bool waitForExit,
                    std::optional<std::int32_t> showMode = std::nullopt);

// ShellExecuteA(no owner, verb, file, parameters, working directory, show command). An omitted
// working directory is passed as an empty text: the shell works in the current directory.
// Reports nothing.
void ShellOpen(std::optional<std::int32_t> verb, std::string_view file,
               std::optional<std::string_view> parameters = std::nullopt,
               std::optional<std::string_view> workingDirectory = std::nullopt,
               std::optional<std::int32_t> showMode = std::nullopt);

// Suspends the UI thread: no window repaints or reacts meanwhile. Negative counts as 0.
void SleepBlocking(std::int32_t milliseconds);

// Waits while the windows stay responsive: messages of every window are handled as in the main
// loop (a click runs its handler inside the wait), a WM_QUIT at the head of the queue is left there
// for the main loop. Sleeps between messages instead of polling, and measures the deadline with a
// 64-bit tick count that does not wrap. Returns at once for 0 or less.
void DelayWithEvents(std::int32_t milliseconds);

}  // namespace zandrel
