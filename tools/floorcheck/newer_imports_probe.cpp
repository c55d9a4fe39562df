// A program that links back what the shipped files must not import: the posix-thread runtime
// (GetTickCount64 and friends), GetAncestor and COMCTL32's named subclassing calls.
#include <windows.h>
#include <commctrl.h>

#include <thread>

static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
  return DefSubclassProc(w, m, wp, lp);
}

int main() {
  std::thread t([] {});
  t.join();
  HWND root = GetAncestor(GetDesktopWindow(), GA_ROOT);
  SetWindowSubclass(root, &Proc, 1, 0);
  RemoveWindowSubclass(root, &Proc, 1);
  return 0;
}
