// The dialog scan over the desktop's top-level windows.
#include "DialogScan.h"

#include "core/hooks_dialogs.h"

namespace vexbane::ext {
namespace {

std::string RawClassName(HWND hwnd) {
  char buffer[500];
  int n = ::GetClassNameA(hwnd, buffer, sizeof buffer);
  return std::string(buffer, n > 0 ? static_cast<size_t>(n) : 0);
}

void VisitWindow(ThreadState& st, HWND hwnd) {
  // Without a frame every unowned window would pass the owner test.
  if (!st.lngFrameHwnd || ::GetParent(hwnd) != st.lngFrameHwnd) return;
  if (!hooks::IsDialogClass(RawClassName(hwnd))) return;
  const auto handle = static_cast<int32_t>(reinterpret_cast<intptr_t>(hwnd));
  if (hooks::AddScannedDialog(st.strDialogList, st.strOldDialogList, handle)) st.lngNewDialog = hwnd;
}

}  // namespace

bool RunDialogScan(ThreadState& st) noexcept {
  try {
    hooks::BeginDialogScan(st.strDialogList, st.strOldDialogList);
  } catch (...) {
  }
  st.lngNewDialog = nullptr;
  BOOL enumerated = ::EnumWindows(&EnumDialogProc, 0);
  return enumerated && st.lngNewDialog;
}

BOOL CALLBACK EnumDialogProc(HWND hwnd, LPARAM) noexcept {
  try {
    if (ThreadState* st = CurrentThreadState()) VisitWindow(*st, hwnd);
  } catch (...) {
  }
  return TRUE;
}

}  // namespace vexbane::ext
