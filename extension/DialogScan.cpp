// The dialog scan over the desktop's dialog-frame windows.
#include "DialogScan.h"

#include <vector>

#include "TabShape.h"
#include "core/hooks_dialogs.h"
#include "win/window_walk.h"

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
  if (!DialogOfThisBrowser(st.lngFrameHwnd, hwnd)) return;
  // The system finds classes without regard to letter case; the dialog's name is exact.
  if (!hooks::IsDialogClass(RawClassName(hwnd))) return;
  const auto handle = static_cast<int32_t>(reinterpret_cast<intptr_t>(hwnd));
  if (hooks::AddScannedDialog(st.strDialogList, st.strOldDialogList, handle)) st.lngNewDialog = hwnd;
}

}  // namespace

// Only the dialog-frame windows are walked: other programs' windows (hundreds on a busy
// desktop, each a question to another process) cannot hold the frame's dialogs.
bool RunDialogScan(ThreadState& st, win::WalkObserver* observer) noexcept {
  try {
    hooks::BeginDialogScan(st.strDialogList, st.strOldDialogList);
  } catch (...) {
  }
  st.lngNewDialog = nullptr;
  // The dialogs of the scan before are the ones a disturbed walk must not miss: a dialog left
  // out once would be new to the next scan.
  std::vector<HWND> expected;
  try {
    for (int32_t handle : hooks::DialogListHandles(st.strOldDialogList))
      expected.push_back(reinterpret_cast<HWND>(static_cast<intptr_t>(handle)));
  } catch (...) {
  }
  std::vector<HWND> dialogs;
  // The message hook has just asked for the class's first window (lngTridentDlg).
  if (!win::TopLevelWindowsOfClass(hooks::kDialogClass, dialogs, {st.lngTridentDlg, &expected}, observer))
    return false;
  for (HWND hwnd : dialogs) {
    try {
      VisitWindow(st, hwnd);
    } catch (...) {
    }
  }
  return st.lngNewDialog != nullptr;
}

}  // namespace vexbane::ext
