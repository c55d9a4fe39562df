// (c) One dialog-scan message (0x0491) on the browser thread, with 500 top-level windows of
// another thread on the desktop (as other programs' windows are) against the same without them.
#include <windows.h>

#include "Hooks.h"
#include "ThreadState.h"
#include "bench_table.h"
#include "core/settings.h"
#include "testsupport/registry_fixture.h"

namespace vexbane::bench {
namespace {

constexpr int kForeignWindows = 500;
constexpr int kMessages = 200;
constexpr UINT kScanMessage = 0x0491;

HWND MakeWindow(const char* className, HWND owner) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = &::DefWindowProcA;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.lpszClassName = className;
  ::RegisterClassA(&wc);
  return ::CreateWindowExA(0, className, className, WS_POPUP, 0, 0, 50, 50, owner, nullptr,
                           ::GetModuleHandleA(nullptr), nullptr);
}

// Another thread's 500 hidden top-level windows, kept until the thread is told to quit.
struct ForeignWindows {
  HANDLE ready = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
  DWORD threadId = 0;
  HANDLE thread = nullptr;

  static DWORD WINAPI Run(void* param) {
    auto* self = static_cast<ForeignWindows*>(param);
    for (int i = 0; i < kForeignWindows; ++i) MakeWindow("VexbaneBenchForeign", nullptr);
    MSG msg;
    ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the queue exists before anyone posts
    ::SetEvent(self->ready);
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) ::DispatchMessageA(&msg);
    return 0;  // the thread's windows go with it
  }
  ForeignWindows() {
    thread = ::CreateThread(nullptr, 0, &Run, this, 0, &threadId);
    ::WaitForSingleObject(ready, 60000);
  }
  ~ForeignWindows() {
    ::PostThreadMessageA(threadId, WM_QUIT, 0, 0);
    ::WaitForSingleObject(thread, 60000);
    ::CloseHandle(thread);
    ::CloseHandle(ready);
  }
};

void PostAndTake(HWND frame) {
  MSG msg;
  for (int i = 0; i < kMessages; ++i) {
    ::PostMessageA(frame, kScanMessage, 0, 0);
    ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
  }
}

}  // namespace

void ScanFamily(std::vector<Row>& rows) {
  testing::ScopedProductKey key;
  key.Set(settings::kPopup, "0");  // the scan runs whole, the dialog it finds is left open
  HWND frame = MakeWindow("IEFrame", nullptr);
  HWND dialog = MakeWindow("Internet Explorer_TridentDlgFrame", frame);
  ext::ThreadState& st = *ext::CurrentThreadState();
  st.lngFrameHwnd = frame;
  ext::InstallHooks(st);
  PostAndTake(frame);

  auto run = [&] { PostAndTake(frame); };
  // Creating 500 windows for every round would swamp the figure; the rounds without them come
  // before and after the rounds with them instead.
  std::vector<double> without, with;
  auto measure = [&](std::vector<double>& into, int rounds) {
    for (int r = 0; r < rounds; ++r) {
      double t0 = Now();
      run();
      into.push_back((Now() - t0) * 1e6 / kMessages);
    }
  };
  measure(without, 5);
  {
    ForeignWindows foreign;
    measure(with, 10);
  }
  measure(without, 5);
  ext::ReleaseHooks(st);
  st = ext::ThreadState{};
  ::DestroyWindow(dialog);
  ::DestroyWindow(frame);
  rows.push_back({"scan message, 500 foreign windows", "scan message, no foreign windows",
                  {Median(with), Median(without)}, "at the floor"});
}

}  // namespace vexbane::bench
