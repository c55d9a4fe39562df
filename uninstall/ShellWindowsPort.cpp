// The shell's window collection as the uninstaller's passes see it.
#include "ShellWindowsPort.h"

#include <windows.h>
#include <exdisp.h>

#include <algorithm>
#include <iterator>

#include "win/com_ptr.h"
#include "win/guid.h"

namespace vexbane::Uninstall {
namespace {

class BrowserItem final : public unhitch::ShellWindow {
 public:
  explicit BrowserItem(win::ComPtr<IWebBrowser2> browser) noexcept : m_browser(std::move(browser)) {}

  int TitleLength() noexcept override {
    SHANDLE_PTR handle = 0;
    if (FAILED(m_browser->get_HWND(&handle))) return 0;
    char buffer[unhitch::kTitleBufferChars];
    std::fill(std::begin(buffer), std::end(buffer), ' ');
    int length = ::GetWindowTextA(reinterpret_cast<HWND>(handle), buffer, unhitch::kTitleBufferChars);
    return length > 0 ? length : 0;
  }

  void Quit() noexcept override { m_browser->Quit(); }

 private:
  win::ComPtr<IWebBrowser2> m_browser;
};

win::ComPtr<IWebBrowser2> BrowserAt(IShellWindows& windows, long index) noexcept {
  VARIANT at;
  ::VariantInit(&at);
  V_VT(&at) = VT_I4;
  V_I4(&at) = index;
  win::ComPtr<IDispatch> item;
  win::ComPtr<IWebBrowser2> browser;
  if (FAILED(windows.Item(at, item.put())) || !item) return browser;
  item.As(IID_IWebBrowser2, browser);
  return browser;
}

}  // namespace

void ShellWindowsPort::WalkShellWindows(const std::function<bool(unhitch::ShellWindow&)>& visit) noexcept {
  win::ComPtr<IShellWindows> windows;
  // CLSCTX_ALL: a class object registered in this process (the tests' own collection) comes first.
  const GUID clsid = win::ToGuid(ids::kClsidShellWindows);
  if (FAILED(::CoCreateInstance(clsid, nullptr, CLSCTX_ALL, IID_IShellWindows, windows.put_void())) || !windows)
    return;
  long count = 0;
  if (FAILED(windows->get_Count(&count))) return;
  for (long i = 0; i < count; ++i) {
    auto browser = BrowserAt(*windows.get(), i);
    if (!browser) continue;
    BrowserItem item(std::move(browser));
    if (!visit(item)) return;
  }
}

void ShellWindowsPort::Pause(uint32_t milliseconds) noexcept { ::Sleep(milliseconds); }

bool ShellWindowsPort::FrameWindowExists() noexcept {
  return ::FindWindowA(unhitch::kFrameClass, nullptr) != nullptr;
}

void ShellWindowsPort::ShowWarning() noexcept {
  ::MessageBoxA(nullptr, unhitch::kWarningText, unhitch::kCaption, unhitch::kWarningStyle);
}

}  // namespace vexbane::Uninstall
