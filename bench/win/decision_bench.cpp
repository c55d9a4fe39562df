// (b) The new-window decision through the stand-in browser, with allow lists of 0, 1,000 and
// 10,000 entries, against the decision's 4 settings reads alone (open, query, close each); then
// the same decision as IE 6 SP2 raises it (NewWindow3 with the target, checked against Blocked
// Hosts lists of 0 and 1,000 entries) beside NewWindow2 alone, in the same run.
#include <windows.h>

#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

#include "HostSession.h"
#include "bench_table.h"
#include "core/allow_list.h"
#include "core/settings.h"
#include "testsupport/registry_fixture.h"

namespace vexbane::bench {
namespace {

constexpr char kPage[] = "http://www.unlisted-host.example.org/path/page.html?q=1";

struct NullBuffer : std::streambuf {
  int overflow(int c) override { return c; }
};

std::string ProgramFolder() {
  char temp[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, temp);
  return std::string(temp) + "vexbane bench program";
}

void WriteWhole(const std::string& path, const std::string& data) {
  HANDLE f = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  ::WriteFile(f, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
  // Written a minute ago: the steady state of a list the user edited some time before.
  FILETIME t;
  ::GetSystemTimeAsFileTime(&t);
  ULARGE_INTEGER u{{t.dwLowDateTime, t.dwHighDateTime}};
  u.QuadPart -= 60ULL * 10000000ULL;
  t = {u.LowPart, u.HighPart};
  ::SetFileTime(f, nullptr, nullptr, &t);
  ::CloseHandle(f);
}

std::string MakeList(int entries) {
  std::vector<std::string> list;
  for (int i = 0; i < entries; ++i) list.push_back("site" + std::to_string(i) + ".example");
  return FormatAllowList(list);
}

// One setting read as the helper makes it: open the key, query the value, close the key.
void ReadSetting(const char* name) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, settings::kProductKeyPath, 0, 0x3F, &key) != ERROR_SUCCESS) return;
  char buffer[255];
  DWORD size = sizeof buffer, type = 0;
  ::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  ::RegCloseKey(key);
}

// The tray program's hidden form with its "Block" button, so blocks are signalled as usual
// (posted to this thread's queue, and taken out of it between the timed runs).
struct TrayForm {
  HWND form = ::CreateWindowExA(0, "STATIC", "Vexbane Tray Form", WS_POPUP, 0, 0, 100, 60, nullptr, nullptr,
                                nullptr, nullptr);
  HWND block = ::CreateWindowExA(0, "BUTTON", "Block", WS_CHILD, 0, 0, 60, 20, form, nullptr, nullptr, nullptr);
  HWND close = ::CreateWindowExA(0, "BUTTON", "Form Close", WS_CHILD, 0, 25, 60, 20, form, nullptr, nullptr,
                                 nullptr);
  ~TrayForm() { ::DestroyWindow(form); }
};

void TakeClicks(HWND button) {
  MSG msg;
  while (::PeekMessageA(&msg, button, BM_CLICK, BM_CLICK, PM_REMOVE)) {
  }
}

}  // namespace

void DecisionFamily(std::vector<Row>& rows) {
  const std::string folder = ProgramFolder();
  ::CreateDirectoryA(folder.c_str(), nullptr);
  const std::string dll = folder + "\\VexbaneIEDLL.dll";
  if (!::CopyFileA(VEXBANE_DLL_PATH, dll.c_str(), FALSE)) {
    std::printf("decision: cannot copy %s\n", VEXBANE_DLL_PATH);
    return;
  }
  HMODULE module = ::LoadLibraryA(dll.c_str());
  using Export = HRESULT(WINAPI*)();
  auto reg = module ? reinterpret_cast<Export>(::GetProcAddress(module, "DllRegisterServer")) : nullptr;
  if (!reg || reg() != S_OK) {
    std::printf("decision: the helper copy does not register\n");
    return;
  }
  testing::ScopedProductKey key;
  TrayForm tray;
  key.Set(settings::kPopup, "4");  // block all: every decision asks the allow list
  key.Set(settings::kSound, "2");  // silent
  key.Set(settings::kHForm, std::to_string(static_cast<int32_t>(reinterpret_cast<intptr_t>(tray.close))));
  key.Set(settings::kHButton, std::to_string(static_cast<int32_t>(reinterpret_cast<intptr_t>(tray.block))));

  NullBuffer nothing;
  std::ostream out(&nothing);
  {
    host::HostSession session(out);
    host::HostWindow& w = session.Open();
    w.Navigate(kPage);
    for (int entries : {0, 1000, 10000}) {
      WriteWhole(folder + "\\WebSite.dat", MakeList(entries));
      const int ops = 100;
      auto decide = [&] {
        for (int i = 0; i < ops; ++i) w.NewWindow();
      };
      auto floor = [&] {
        for (int i = 0; i < ops; ++i)
          for (const char* name : {settings::kHForm, settings::kHButton, settings::kSound, settings::kPopup})
            ReadSetting(name);
      };
      decide();  // the first decision after a change of the file reads it
      TakeClicks(tray.block);
      // The tray program takes the signals in its own process: not on this thread's clock.
      Pair p = MeasureByTurns(15, ops, decide, ops, floor, [&] { TakeClicks(tray.block); });
      rows.push_back({"new-window decision, " + std::to_string(entries) + " entries", "4 settings reads", p,
                      entries == 0 ? "" : entries == 1000 ? "<= 1.1x" : "<= 1.5x"});
    }
    WriteWhole(folder + "\\WebSite.dat", MakeList(0));
    for (int hosts : {-1, 0, 1000}) {
      // -1: NewWindow2 alone, today's event; otherwise NewWindow3 (then NewWindow2 unless cancelled).
      session.SetEventOrder(hosts < 0 ? host::EventOrder::NewWindow2Only : host::EventOrder::NewWindow3Then2);
      WriteWhole(folder + "\\BlockedHost.dat", MakeList(hosts < 0 ? 0 : hosts));
      const int ops = 100;
      auto decide = [&] {
        for (int i = 0; i < ops; ++i) w.NewWindow("http://pop.unlisted-target.example/window.html");
      };
      auto floor = [&] {
        for (int i = 0; i < ops; ++i)
          for (const char* name : {settings::kHForm, settings::kHButton, settings::kSound, settings::kPopup})
            ReadSetting(name);
      };
      decide();
      TakeClicks(tray.block);
      Pair p = MeasureByTurns(15, ops, decide, ops, floor, [&] { TakeClicks(tray.block); });
      rows.push_back({hosts < 0 ? std::string("decision, NewWindow2 alone (IE 6)")
                                : "decision, NewWindow3 (SP2), " + std::to_string(hosts) + " blocked hosts",
                      "4 settings reads", p, ""});
    }
    session.QuitAll();
  }
  auto unreg = reinterpret_cast<Export>(::GetProcAddress(module, "DllUnregisterServer"));
  if (unreg) unreg();
}

}  // namespace vexbane::bench
