// The product's helper and the benchmark's floor helpers, loaded from one program folder and
// attached to stand-in browser windows as the browser does it.
#pragma once
#include <windows.h>
#include <ocidl.h>

#include <string>

#include "HostBrowser.h"
#include "win/com_ptr.h"

namespace vexbane::bench {

enum class HelperKind { Product, Plain, DoNothing };
HelperKind KindFromName(const char* name);
const char* NameOf(HelperKind kind);

// The program folder under the temporary folder, with the helper files copied in (and no tray
// program, so every attach's start of it fails alike on both sides). Empty when it cannot be made.
std::string PrepareProgramFolder();

class LoadedHelper {
 public:
  LoadedHelper(const std::string& folder, HelperKind kind);
  ~LoadedHelper();
  explicit operator bool() const { return m_getClassObject != nullptr; }

  // DllGetClassObject, CreateInstance and the factory's release, as CoCreateInstance does for
  // every new browser window.
  win::ComPtr<IObjectWithSite> Create() const;
  double loadSeconds() const { return m_loadSeconds; }

 private:
  using GetClassObjectFn = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
  HMODULE m_module = nullptr;
  GetClassObjectFn m_getClassObject = nullptr;
  CLSID m_clsid = {};
  double m_loadSeconds = 0;
};

// A frame window of class "IEFrame" and its stand-in browser object.
class BrowserWindow {
 public:
  BrowserWindow();
  ~BrowserWindow();
  host::HostBrowser* browser() const { return m_browser.get(); }
  IUnknown* site() const { return static_cast<IWebBrowser2*>(m_browser.get()); }

 private:
  HWND m_frame = nullptr;
  win::ComPtr<host::HostBrowser> m_browser;
};

// One window's life for a helper: created, attached, detached, released.
void AttachDetach(const LoadedHelper& helper, const BrowserWindow& window);

}  // namespace vexbane::bench
