// The frame window of the tab shapes, on its own thread or in its own process.
#include "TabFrame.h"

#include <string>

#include "HostWindow.h"

namespace vexbane::host {
namespace {

constexpr DWORD kFrameStartMs = 10000;
constexpr DWORD kFrameEndMs = 10000;

// The frame's thread or process ends when its window goes.
class TabFrameWindow final : public win::Window {
 public:
  HWND Create(const std::string& title) {
    return CreateWindowFor(kFrameClass, title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0, 40, 40,
                           600, 420, nullptr);
  }

 protected:
  LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) noexcept override {
    if (msg == WM_DESTROY) ::PostQuitMessage(0);
    return Default(msg, wParam, lParam);
  }
};

struct FrameThreadStart {
  std::string title;
  HANDLE ready = nullptr;
  HWND hwnd = nullptr;
};

DWORD WINAPI FrameThread(void* param) {
  auto* start = static_cast<FrameThreadStart*>(param);
  TabFrameWindow frame;
  start->hwnd = frame.Create(start->title);
  const bool created = start->hwnd != nullptr;
  ::SetEvent(start->ready);  // `start` belongs to the opener from here on
  if (!created) return 1;
  MSG msg;
  while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  return 0;
}

// A title no other frame has, so the frame of another process can be found by it.
std::string UniqueTitle() {
  static volatile LONG s_serial = 0;
  return "Stand-in Browser (frame " + std::to_string(::GetCurrentProcessId()) + "-" +
         std::to_string(::InterlockedIncrement(&s_serial)) + ")";
}

std::string ThisProgram() {
  char path[MAX_PATH] = {};
  DWORD n = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  return std::string(path, n);
}

}  // namespace

bool WaitPumping(HANDLE handle, DWORD ms) noexcept {
  const DWORD start = ::GetTickCount();
  for (;;) {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
    if (handle && ::WaitForSingleObject(handle, 0) == WAIT_OBJECT_0) return true;
    const DWORD spent = ::GetTickCount() - start;
    if (spent >= ms) return false;
    ::MsgWaitForMultipleObjects(handle ? 1 : 0, handle ? &handle : nullptr, FALSE, ms - spent, QS_ALLINPUT);
  }
}

std::unique_ptr<TabFrame> TabFrame::Open(const ShapeOptions& shape) {
  std::unique_ptr<TabFrame> frame(new TabFrame);
  const std::string title = UniqueTitle();
  if (shape.shape == Shape::IE8) {
    const std::string program = shape.frameProgram.empty() ? ThisProgram() : shape.frameProgram;
    std::string cmd = "\"" + program + "\" " + kFrameProcessSwitch + " " + std::to_string(::GetCurrentProcessId()) +
                      " \"" + title + "\"";
    STARTUPINFOA si = {sizeof(si)};
    PROCESS_INFORMATION pi = {};
    if (!::CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return nullptr;
    ::CloseHandle(pi.hThread);
    frame->m_owner.reset(pi.hProcess);
    for (DWORD waited = 0; !frame->m_hwnd && waited < kFrameStartMs; waited += 50) {
      if (WaitPumping(frame->m_owner.get(), 50)) return nullptr;  // the process ended early
      frame->m_hwnd = ::FindWindowA(kFrameClass, title.c_str());
    }
  } else {
    FrameThreadStart start;
    start.title = title;
    win::UniqueHandle ready(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    start.ready = ready.get();
    DWORD id = 0;
    frame->m_owner.reset(::CreateThread(nullptr, 0, &FrameThread, &start, 0, &id));
    if (!frame->m_owner || !WaitPumping(ready.get(), kFrameStartMs)) return nullptr;
    frame->m_hwnd = start.hwnd;
  }
  if (!frame->m_hwnd) return nullptr;
  frame->m_threadId = ::GetWindowThreadProcessId(frame->m_hwnd, &frame->m_processId);
  return frame;
}

TabFrame::~TabFrame() {
  if (!m_owner) return;
  if (m_hwnd && ::IsWindow(m_hwnd)) ::PostMessageA(m_hwnd, WM_CLOSE, 0, 0);
  if (!WaitPumping(m_owner.get(), kFrameEndMs) && m_processId != ::GetCurrentProcessId())
    ::TerminateProcess(m_owner.get(), 1);
}

int RunFrameProcess(DWORD parentPid, const std::string& title) {
  win::UniqueHandle parent(::OpenProcess(SYNCHRONIZE, FALSE, parentPid));
  TabFrameWindow frame;
  if (!frame.Create(title)) return 1;
  for (;;) {
    HANDLE waitFor = parent.get();
    const DWORD rc = ::MsgWaitForMultipleObjects(waitFor ? 1 : 0, waitFor ? &waitFor : nullptr, FALSE, INFINITE,
                                                 QS_ALLINPUT);
    if (waitFor && rc == WAIT_OBJECT_0) {
      // The tabs' process is gone; a frame without tabs has nothing left to show.
      if (frame.hwnd()) ::DestroyWindow(frame.hwnd());
    }
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) return 0;
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
  }
}

}  // namespace vexbane::host
