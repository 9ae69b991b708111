// Asks for more memory than a 32-bit process can have, with the program's out-of-memory stop in
// place: it must end in the fatal stop, never return from the allocation.
#include <windows.h>

#include <new>

#include "frame/app.h"
#include "frame/window_layer.h"

// The blocks are kept where the compiler must assume they are used.
void* volatile g_blocks[64];

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    zandrel::CreateHiddenOwnerWindow();
    zandrel::InstallOutOfMemoryStop();
    // Plain operator new, as std::string and std::vector use it for the program's results, in blocks
    // of 256 MiB until the 4 GiB address space of a 32-bit process is used up.
    for (auto& block : g_blocks) block = ::operator new(std::size_t{256} << 20);
    return 3;  // reached only if 16 GiB could be had, which they cannot
}
