// Entry point of zandrel.exe. The command line and the show command handed to the process are
// ignored: MainWindow is always shown with SW_SHOW.
#include <windows.h>

#include "frame/app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return zandrel::RunApplication(); }
