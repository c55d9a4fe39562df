// Entry point of the uninstaller's helper program Unhitch.
#include <windows.h>
#include <objbase.h>

#include "Uninstall.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // Without COM the passes find no collection and the program still restores the Messenger start.
  const HRESULT init = ::CoInitialize(nullptr);
  vexbane::Uninstall::Main();
  if (SUCCEEDED(init)) ::CoUninitialize();
  return 0;
}
