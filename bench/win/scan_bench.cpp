// (c) One dialog-scan message (0x0491) on the browser thread, with 500 hidden top-level windows
// of another process on the desktop (as other programs' windows are) against the same message
// without them, by turns: the other process opens and closes its windows between the rounds.
#include <windows.h>

#include <string>
#include <vector>

#include "Hooks.h"
#include "ThreadState.h"
#include "bench_table.h"
#include "core/settings.h"
#include "testsupport/registry_fixture.h"

namespace vexbane::bench {
namespace {

constexpr int kForeignWindows = 500;
constexpr int kMessages = 200;
constexpr int kRounds = 11;
constexpr UINT kScanMessage = 0x0491;
constexpr char kOpen[] = "VexbaneBenchForeignOpen";
constexpr char kClose[] = "VexbaneBenchForeignClose";
constexpr char kDone[] = "VexbaneBenchForeignDone";
constexpr char kQuit[] = "VexbaneBenchForeignQuit";

HWND MakeWindow(const char* className, HWND owner) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = &::DefWindowProcA;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.lpszClassName = className;
  ::RegisterClassA(&wc);
  return ::CreateWindowExA(0, className, className, WS_POPUP, 0, 0, 50, 50, owner, nullptr,
                           ::GetModuleHandleA(nullptr), nullptr);
}

// The other program: opens its windows when told, closes them when told.
class ForeignProgram {
 public:
  ForeignProgram() {
    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string commandLine = "\"" + std::string(self) + "\" --foreign-windows " + std::to_string(kForeignWindows);
    STARTUPINFOA si = {sizeof si};
    PROCESS_INFORMATION pi = {};
    if (::CreateProcessA(self, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
      m_process = pi.hProcess;
      ::CloseHandle(pi.hThread);
    }
  }
  ~ForeignProgram() {
    ::SetEvent(m_quit);
    if (m_process) {
      ::WaitForSingleObject(m_process, 60000);
      ::CloseHandle(m_process);
    }
    for (HANDLE h : {m_open, m_close, m_done, m_quit}) ::CloseHandle(h);
  }
  bool running() const { return m_process != nullptr; }
  void Open() { Tell(m_open); }
  void Close() { Tell(m_close); }

 private:
  void Tell(HANDLE what) {
    ::SetEvent(what);
    HANDLE wait[] = {m_done, m_process};
    ::WaitForMultipleObjects(2, wait, FALSE, 60000);
  }
  HANDLE m_open = ::CreateEventA(nullptr, FALSE, FALSE, kOpen);
  HANDLE m_close = ::CreateEventA(nullptr, FALSE, FALSE, kClose);
  HANDLE m_done = ::CreateEventA(nullptr, FALSE, FALSE, kDone);
  HANDLE m_quit = ::CreateEventA(nullptr, TRUE, FALSE, kQuit);
  HANDLE m_process = nullptr;
};

void PostAndTake(HWND frame) {
  MSG msg;
  for (int i = 0; i < kMessages; ++i) {
    ::PostMessageA(frame, kScanMessage, 0, 0);
    ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
  }
}

}  // namespace

int ForeignWindowsRole(int count) {
  HANDLE open = ::OpenEventA(SYNCHRONIZE | EVENT_MODIFY_STATE, FALSE, kOpen);
  HANDLE close = ::OpenEventA(SYNCHRONIZE | EVENT_MODIFY_STATE, FALSE, kClose);
  HANDLE done = ::OpenEventA(SYNCHRONIZE | EVENT_MODIFY_STATE, FALSE, kDone);
  HANDLE quit = ::OpenEventA(SYNCHRONIZE | EVENT_MODIFY_STATE, FALSE, kQuit);
  if (!open || !close || !done || !quit) return 1;
  std::vector<HWND> windows;
  for (;;) {
    HANDLE wait[] = {open, close, quit};
    const DWORD which = ::WaitForMultipleObjects(3, wait, FALSE, INFINITE);
    if (which == WAIT_OBJECT_0) {
      for (int i = 0; i < count; ++i) windows.push_back(MakeWindow("VexbaneBenchForeign", nullptr));
    } else if (which == WAIT_OBJECT_0 + 1) {
      for (HWND w : windows) ::DestroyWindow(w);
      windows.clear();
    } else {
      return 0;
    }
    ::SetEvent(done);
  }
}

void ScanFamily(std::vector<Row>& rows) {
  testing::ScopedProductKey key;
  key.Set(settings::kPopup, "0");  // the scan runs whole, the dialog it finds is left open
  HWND frame = MakeWindow("IEFrame", nullptr);
  HWND dialog = MakeWindow("Internet Explorer_TridentDlgFrame", frame);
  ext::ThreadState& st = *ext::CurrentThreadState();
  st.lngFrameHwnd = frame;
  ext::InstallHooks(st);
  PostAndTake(frame);

  ForeignProgram foreign;
  if (!foreign.running()) {
    std::printf("scan: the other program did not start\n");
    return;
  }
  auto timed = [&] {
    double t0 = Now();
    PostAndTake(frame);
    return (Now() - t0) * 1e6 / kMessages;
  };
  // The scan message's own FindWindowA, which every scan message makes whatever the walk.
  auto findOnly = [] {
    double t0 = Now();
    for (int i = 0; i < kMessages; ++i) ::FindWindowA("Internet Explorer_TridentDlgFrame", nullptr);
    return (Now() - t0) * 1e6 / kMessages;
  };
  Pair pair, find;
  for (int r = 0; r < kRounds; ++r) {
    double with, without, findWith, findWithout;
    if (r % 2) {
      without = timed();
      findWithout = findOnly();
      foreign.Open();
      with = timed();
      findWith = findOnly();
      foreign.Close();
    } else {
      foreign.Open();
      with = timed();
      findWith = findOnly();
      foreign.Close();
      without = timed();
      findWithout = findOnly();
    }
    pair.Add(with, without);
    find.Add(findWith, findWithout);
  }
  ext::ReleaseHooks(st);
  st = ext::ThreadState{};
  ::DestroyWindow(dialog);
  ::DestroyWindow(frame);
  rows.push_back({"scan message, 500 other program's windows", "scan message, none", pair, "<= 1.2x"});
  rows.push_back({"  FindWindowA alone, 500 windows", "FindWindowA alone, none", find, "(required)"});
}

}  // namespace vexbane::bench
