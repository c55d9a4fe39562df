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
#include "core/file_freshness.h"
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

// `ageSeconds` before now; negative: in the future, which no copy is ever trusted with, so every
// decision reads the file again as in the seconds right after a save.
void WriteWhole(const std::string& path, const std::string& data, int ageSeconds = 60) {
  HANDLE f = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  ::WriteFile(f, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
  // Written a minute ago: the steady state of a list the user edited some time before.
  FILETIME t;
  ::GetSystemTimeAsFileTime(&t);
  ULARGE_INTEGER u{{t.dwLowDateTime, t.dwHighDateTime}};
  u.QuadPart -= static_cast<ULONGLONG>(static_cast<LONGLONG>(ageSeconds) * 10000000LL);
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
    struct Case {
      int entries;
      bool afterSave;
    };
    double emptyRatio = 0;
    for (Case c : {Case{0, false}, Case{1000, false}, Case{10000, false}, Case{100000, false}, Case{10000, true}}) {
      const int entries = c.entries;
      WriteWhole(folder + "\\WebSite.dat", MakeList(entries), c.afterSave ? -60 : 60);
      const int ops = 100;
      auto decide = [&] {
        for (int i = 0; i < ops; ++i) w.NewWindow();
      };
      auto floor = [&] {
        for (int i = 0; i < ops; ++i)
          for (const char* name : {settings::kHForm, settings::kHButton, settings::kSound, settings::kPopup})
            ReadSetting(name);
      };
      // The steady state: the helper trusts its copy once the file's stamp has stood still for
      // the margin on its own clock (core/file_freshness.h), and reads it at every decision
      // before that.
      decide();
      ::Sleep(static_cast<DWORD>(kRacyMarginTicks / (kFileTicksPerSecond / 1000)) + 100);
      decide();
      TakeClicks(tray.block);
      // The tray program takes the signals in its own process: not on this thread's clock.
      Pair p = MeasureByTurns(15, ops, decide, ops, floor, [&] { TakeClicks(tray.block); });
      const std::string what = "new-window decision, " + std::to_string(entries) + " entries" +
                               (c.afterSave ? ", right after a save" : "");
      rows.push_back({what, "4 settings reads", p, ""});
      if (entries == 0) emptyRatio = p.Ratio();
      else if (!c.afterSave) {
        // Against the empty list's decision: both ratios to the same floor, measured minutes apart.
        Pair vsEmpty;
        for (double r : p.Ratios()) vsEmpty.Add(r, emptyRatio);
        Row row{"  the same against the empty list's", "empty list's ratio to its floor", vsEmpty,
                "<= 1.1x"};
        row.unit = "x ";
        rows.push_back(row);
      }
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
      // The steady state, as above: both lists' copies trusted once their stamps stood still.
      decide();
      ::Sleep(static_cast<DWORD>(kRacyMarginTicks / (kFileTicksPerSecond / 1000)) + 100);
      decide();
      TakeClicks(tray.block);
      Pair p = MeasureByTurns(15, ops, decide, ops, floor, [&] { TakeClicks(tray.block); });
      rows.push_back({hosts < 0 ? std::string("decision, NewWindow2 alone (IE 6)")
                                : "decision, NewWindow3 (SP2), " + std::to_string(hosts) + " blocked hosts",
                      "4 settings reads", p, hosts < 0 ? "" : "<= 1.5x"});
    }
    session.QuitAll();
  }
  auto unreg = reinterpret_cast<Export>(::GetProcAddress(module, "DllUnregisterServer"));
  if (unreg) unreg();
}

}  // namespace vexbane::bench
