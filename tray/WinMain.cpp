// Entry point of the tray program: everything happens in Main.
#include <windows.h>

#include "TrayMain.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return vexbane::tray::Main(); }
