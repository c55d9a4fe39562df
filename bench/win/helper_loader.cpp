// Loading the helpers and attaching them to stand-in browser windows.
#include "helper_loader.h"

#include <cstring>

#include "bench_helper_ids.h"
#include "bench_table.h"
#include "core/product_ids.h"
#include "win/guid.h"

namespace vexbane::bench {

HelperKind KindFromName(const char* name) {
  if (std::strcmp(name, "product") == 0) return HelperKind::Product;
  if (std::strcmp(name, "plain") == 0) return HelperKind::Plain;
  return HelperKind::DoNothing;
}

const char* NameOf(HelperKind kind) {
  switch (kind) {
    case HelperKind::Product: return "product";
    case HelperKind::Plain: return "plain";
    default: return "nothing";
  }
}

// Once per process: the files stay loaded from the first family to the last.
std::string PrepareProgramFolder() {
  static const std::string prepared = [] {
  char temp[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + "vexbane bench load";
  ::CreateDirectoryA(folder.c_str(), nullptr);
  if (!::CopyFileA(VEXBANE_DLL_PATH, (folder + "\\VexbaneIEDLL.dll").c_str(), FALSE) ||
      !::CopyFileA(VEXBANE_BENCH_HELPER_PATH, (folder + "\\" + kHelperFile).c_str(), FALSE))
    return std::string();
  return folder;
  }();
  return prepared;
}

LoadedHelper::LoadedHelper(const std::string& folder, HelperKind kind) {
  const std::string file = folder + "\\" + (kind == HelperKind::Product ? "VexbaneIEDLL.dll" : kHelperFile);
  m_clsid = kind == HelperKind::Product ? win::ToGuid(ids::kClsidVexbaneHelper)
            : kind == HelperKind::Plain ? kClsidPlainHelper
                                        : kClsidDoNothingHelper;
  const double t0 = Now();
  m_module = ::LoadLibraryA(file.c_str());
  if (m_module) m_getClassObject = reinterpret_cast<GetClassObjectFn>(::GetProcAddress(m_module, "DllGetClassObject"));
  m_loadSeconds = Now() - t0;
}

// The benchmark's process ends with the module still loaded, as a browser's does: unloading it
// under the thread's hooks and states is not what is measured here.
LoadedHelper::~LoadedHelper() = default;

win::ComPtr<IObjectWithSite> LoadedHelper::Create() const {
  win::ComPtr<IObjectWithSite> helper;
  win::ComPtr<IClassFactory> factory;
  if (!m_getClassObject || FAILED(m_getClassObject(m_clsid, IID_IClassFactory, factory.put_void()))) return helper;
  factory->CreateInstance(nullptr, IID_IObjectWithSite, helper.put_void());
  return helper;
}

BrowserWindow::BrowserWindow() {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = &::DefWindowProcA;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.lpszClassName = "IEFrame";
  ::RegisterClassA(&wc);
  m_frame = ::CreateWindowExA(0, "IEFrame", "Stand-in Browser", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                              nullptr, ::GetModuleHandleA(nullptr), nullptr);
  m_browser.attach(host::HostBrowser::Create(m_frame, "C:\\Program Files\\Internet Explorer\\IEXPLORE.EXE"));
  m_browser->SetLocationURL("http://www.example.com/start.html");
}

BrowserWindow::~BrowserWindow() {
  m_browser.reset();
  ::DestroyWindow(m_frame);
}

void AttachDetach(const LoadedHelper& helper, const BrowserWindow& window) {
  win::ComPtr<IObjectWithSite> h = helper.Create();
  if (!h) return;
  h->SetSite(window.site());
  h->SetSite(nullptr);
}

}  // namespace vexbane::bench
