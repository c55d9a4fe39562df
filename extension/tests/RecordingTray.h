// A recording tray form for the helper's block records, on the test's own thread.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "ThreadState.h"
#include "core/block_record.h"
#include "core/block_record_v2.h"

namespace vexbane::ext::testing {

// The tray form as the helper meets it, on this thread: caption "Vexbane Tray Form", a child
// "Block" button, and a window procedure that keeps every well-formed record it is sent.
class RecordingTray {
 public:
  struct Received {
    HWND sender;
    blocks::BlockRecord record;
  };

  RecordingTray() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &Proc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = kClass;
    ::RegisterClassA(&wc);
    m_form = ::CreateWindowExA(0, kClass, "Vexbane Tray Form", WS_POPUP, 0, 0, 100, 60, nullptr, nullptr,
                               ::GetModuleHandleA(nullptr), nullptr);
    ::SetWindowLongPtrA(m_form, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_button = ::CreateWindowExA(0, "BUTTON", "Block", WS_CHILD, 0, 0, 60, 20, m_form, nullptr, nullptr, nullptr);
  }
  ~RecordingTray() { ::DestroyWindow(m_form); }
  RecordingTray(const RecordingTray&) = delete;
  RecordingTray& operator=(const RecordingTray&) = delete;

  HWND button() const { return m_button; }
  std::string HandleText() const { return HandleToText(m_button); }
  const std::vector<Received>& received() const { return m_received; }
  int malformed() const { return m_malformed; }

 private:
  static constexpr char kClass[] = "VexbaneTestRecordingTray";
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    auto* self = reinterpret_cast<RecordingTray*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (msg == WM_COPYDATA && self) {
      const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      auto record = data->dwData == blocks::kRecordTag ? blocks::ParseAnyBlockRecord(data->lpData, data->cbData)
                                                      : std::nullopt;
      if (!record) {
        ++self->m_malformed;
        return FALSE;
      }
      self->m_received.push_back({reinterpret_cast<HWND>(wParam), *record});
      return TRUE;
    }
    return ::DefWindowProcA(hwnd, msg, wParam, lParam);
  }

  HWND m_form = nullptr;
  HWND m_button = nullptr;
  std::vector<Received> m_received;
  int m_malformed = 0;
};

}  // namespace vexbane::ext::testing
