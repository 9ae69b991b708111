// Start-up and the end of the process.
#pragma once

#include <string_view>

namespace zandrel {

// The fatal stop: an error box with no owner, then the hidden owner window is destroyed and the
// process ends at once with exit code -1. Never returns.
[[noreturn]] void FatalStop(std::string_view message);

// Installs the out-of-memory handler: memory that cannot be had for a result ends in FatalStop.
void InstallOutOfMemoryStop();

// The whole run: run directory, hidden owner, MainWindow, main loop. Returns the exit code.
int RunApplication();

}  // namespace zandrel
