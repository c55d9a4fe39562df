// Every action that reads or writes WebSite.dat or IECookieURL.dat, done through the real tray
// program (and, for the automatic clean, the real helper in the stand-in browser) while both
// files are held by another program, read-only, replaced by a folder, or missing. For every
// pair: nothing the files held is lost, no cookie the user kept is deleted, and an action that
// cannot be done says so in the program's own message box.
#include <windows.h>

#include <commctrl.h>
#include <objbase.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iostream>
#include <memory>

#include "FaultSupport.h"
#include "core/allow_list.h"
#include "core/block_record.h"
#include "core/cookies.h"
#include "core/settings.h"
#include "core/tray_menu.h"
#include "frmPopupAdvanced.h"
#include "frmPopupCookie.h"
#include "frmRecentBlocked.h"
#include "testsupport/browser_frame.h"

namespace vexbane::faults {
namespace {

using vexbane::testing::BrowserFrame;
using vexbane::testing::ScopedFolder;
using vexbane::testing::ScopedProductKey;

const char* const kDataFiles[] = {settings::kAllowListFile, settings::kKeepListFile};
const std::vector<std::string> kEntries = {"alpha.example", "beta.example", "gamma.example"};
const std::vector<std::string> kKept = {"user@keep1", "user@keep2"};
// In the order the cookie manager lists them whether or not it knows what is kept.
const std::vector<std::string> kCookieNames = {"user@keep1", "user@keep2", "user@other"};
constexpr char kRemoved[] = "beta.example";
constexpr char kAdded[] = "added.example";
constexpr char kBlockedPage[] = "http://www.allowsite.example/pop";
constexpr char kBlockedSite[] = "www.allowsite.example";
constexpr char kInsideName[] = "inside.txt";
constexpr char kInsideText[] = "a folder of the user's, named like the data file";
constexpr DWORD kHoldMs = 2000;
constexpr char kHeldEvent[] = "VexbaneFaultSuiteHeld";

enum class Action { OpenEditor, Add, Remove, AllowSite, OpenCookieManager, Ok, Clean, AutoClean };
enum class Fault { Held, ReadOnly, Folder, Missing };

const Action kActions[] = {Action::OpenEditor,        Action::Add, Action::Remove, Action::AllowSite,
                           Action::OpenCookieManager, Action::Ok,  Action::Clean,  Action::AutoClean};
const Fault kFaults[] = {Fault::Held, Fault::ReadOnly, Fault::Folder, Fault::Missing};

const char* Name(Action a) {
  switch (a) {
    case Action::OpenEditor: return "OpenAllowList";
    case Action::Add: return "Add";
    case Action::Remove: return "Remove";
    case Action::AllowSite: return "AllowSite";
    case Action::OpenCookieManager: return "OpenCookieManager";
    case Action::Ok: return "Ok";
    case Action::Clean: return "Clean";
    case Action::AutoClean: return "AutoCleanAtLastWindow";
  }
  return "?";
}

const char* Name(Fault f) {
  switch (f) {
    case Fault::Held: return "Held";
    case Fault::ReadOnly: return "ReadOnly";
    case Fault::Folder: return "Folder";
    case Fault::Missing: return "Missing";
  }
  return "?";
}

std::string CookieFile(const std::string& name) { return name + "[1].txt"; }

// Another process holding every data file open without sharing for kHoldMs from its start.
class Holder {
 public:
  explicit Holder(const std::vector<std::string>& paths) : m_ready(::CreateEventA(nullptr, TRUE, FALSE, kHeldEvent)) {
    std::string command = std::string("\"") + VEXBANE_FAULT_HOLDER + "\" " + std::to_string(kHoldMs) + " " + kHeldEvent;
    for (const std::string& path : paths) command += " \"" + path + "\"";
    STARTUPINFOA startup = {sizeof startup};
    startup.dwFlags = STARTF_USESTDHANDLES;
    if (!::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &m_process))
      return;
    const HANDLE either[] = {m_ready, m_process.hProcess};
    m_holding = ::WaitForMultipleObjects(2, either, FALSE, 10000) == WAIT_OBJECT_0;
  }
  ~Holder() {
    WaitReleased();
    if (m_process.hProcess) {
      ::CloseHandle(m_process.hProcess);
      ::CloseHandle(m_process.hThread);
    }
    ::CloseHandle(m_ready);
  }
  Holder(const Holder&) = delete;
  Holder& operator=(const Holder&) = delete;
  bool holding() const { return m_holding; }
  void WaitReleased() const {
    if (m_process.hProcess) ::WaitForSingleObject(m_process.hProcess, 15000);
  }

 private:
  HANDLE m_ready;
  PROCESS_INFORMATION m_process = {};
  bool m_holding = false;
};

// What one pair came to.
struct Outcome {
  std::vector<std::string> losses;
  bool done = false;
  std::vector<Notice> notices;
  std::string problem;  // the suite could not drive the program
};

struct Tally {
  int pairs = 0;
  int lossPairs = 0;
  int silentPairs = 0;
  int losses = 0;
};
Tally g_tally;

std::string FamilyName() {
  const DWORD version = ::GetVersion();
  if (version & 0x80000000u) return "95 family (" + std::to_string(version & 0xFF) + "." +
                                    std::to_string((version >> 8) & 0xFF) + ")";
  return "NT family (" + std::to_string(version & 0xFF) + "." + std::to_string((version >> 8) & 0xFF) + ")";
}

class DataFileFaults : public ::testing::TestWithParam<std::tuple<Action, Fault>> {
 public:
  static void SetUpTestSuite() {
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    s_key = std::make_unique<ScopedProductKey>();
    s_program = std::make_unique<ProgramFolder>();
    s_cookies = std::make_unique<ScopedFolder>("vexbane fault cookies");
    s_browser = std::make_unique<ScopedFolder>("vexbane fault browser");
    s_hadCookiesValue = vexbane::testing::ReadRawString(HKEY_CURRENT_USER, settings::kShellFoldersKeyPath,
                                                        settings::kCookies, s_savedCookiesValue);
    vexbane::testing::WriteRawString(HKEY_CURRENT_USER, settings::kShellFoldersKeyPath, settings::kCookies,
                                     s_cookies->path());
    s_tray = std::make_unique<TrayDriver>();
    g_tally = {};
  }
  static void TearDownTestSuite() {
    s_tray.reset();
    TrayDriver::EndStrayCopies(0);
    if (s_hadCookiesValue)
      vexbane::testing::WriteRawString(HKEY_CURRENT_USER, settings::kShellFoldersKeyPath, settings::kCookies,
                                       s_savedCookiesValue);
    else
      vexbane::testing::DeleteValue(HKEY_CURRENT_USER, settings::kShellFoldersKeyPath, settings::kCookies);
    s_program.reset();
    s_browser.reset();
    s_cookies.reset();
    s_key.reset();
    std::cout << "fault suite, " << FamilyName() << ": " << std::size(kActions) << " actions x "
              << std::size(kFaults) << " faults = " << g_tally.pairs << " pairs run; " << g_tally.losses
              << " losses in " << g_tally.lossPairs << " pairs; " << g_tally.silentPairs
              << " pairs where an action was not done and no message box said so" << std::endl;
    ::CoUninitialize();
  }

 protected:
  void SetUp() override {
    ASSERT_EQ(s_program->error(), "");
    for (const char* name : kDataFiles) {
      RemovePath(File(name));
      RemovePath(File(name) + ".old");
    }
    WriteText(File(settings::kAllowListFile), FormatAllowList(kEntries));
    WriteText(File(settings::kKeepListFile), FormatKeepList(kKept) + "\r\n");
    for (const std::string& name : kCookieNames) s_cookies->Write(CookieFile(name), "cookie");
    s_cookies->Write("index.dat", "index");
    s_key->Set("BlockMessenger", "0");
    s_key->Set("Sound", "2");
    s_key->Set("Popup", "2");
    s_key->Set("AutoClean", "1");
    s_key->Set("CountIE", "0");
    ASSERT_TRUE(s_tray->EnsureRunning(File("VexbaneTray.exe"), *s_key)) << "the tray program did not start";
    s_tray->TakeNotices();
  }
  void TearDown() override {
    s_tray->CloseToolWindows();
    s_tray->TakeNotices();
  }

  static std::string File(const std::string& name) { return s_program->File(name); }

  // The pair: the fault is in place from just before the step that opens the file until the
  // action is over; a held file is let go 2 s after the opening step began, before the rest.
  Outcome Run(Action action, Fault fault) {
    Outcome out;
    std::vector<std::string> paths;
    for (const char* name : kDataFiles) paths.push_back(File(name));
    std::function<void()> prepare, open, commit;
    Plan(action, out, prepare, open, commit);
    if (prepare) prepare();
    std::unique_ptr<Holder> holder;
    if (fault == Fault::Held) {
      holder = std::make_unique<Holder>(paths);
      if (!holder->holding()) out.problem = "the other program could not hold the files";
    } else {
      for (const std::string& path : paths) Apply(fault, path);
    }
    if (open) open();
    if (holder) holder->WaitReleased();
    if (commit) commit();
    if (!s_tray->Settle() && action != Action::AutoClean) out.problem += " the tray program stopped answering";
    // "Clean" asks before it deletes (and the driver answers "Yes"): a question, not a notice
    // that something could not be done.
    for (const Notice& n : s_tray->TakeNotices()) {
      if (!IsCleanQuestion(n)) out.notices.push_back(n);
    }
    Judge(action, fault, out);
    return out;
  }

  static bool IsCleanQuestion(const Notice& n) {
    const std::string ask = "Clean now?";
    return n.title == "Clean cookies" && n.text.size() >= ask.size() &&
           n.text.compare(n.text.size() - ask.size(), ask.size(), ask) == 0;
  }

  static void Apply(Fault fault, const std::string& path) {
    switch (fault) {
      case Fault::ReadOnly:
        ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
        break;
      case Fault::Folder:
        RemovePath(path);
        ::CreateDirectoryA(path.c_str(), nullptr);
        WriteText(path + "\\" + kInsideName, kInsideText);
        break;
      case Fault::Missing:
        RemovePath(path);
        break;
      case Fault::Held:
        break;
    }
  }

  // What the user does, in three steps: what comes before the file is touched, the step that
  // opens it, and the rest.
  void Plan(Action action, Outcome& out, std::function<void()>& prepare, std::function<void()>& open,
            std::function<void()>& commit) {
    auto openEditor = [this, &out] {
      s_tray->Command(tray::TrayMenuItemOf(tray::TrayItem::mnuWhiteList).id);
      m_window = s_tray->FindWindowOfClass(tray::frmPopupAdvanced::kClassName, 5000);
      if (!m_window) out.problem += " the allow list editor did not open";
      m_shownEntries = ListBoxItems(::GetDlgItem(m_window, tray::frmPopupAdvanced::lstURL));
    };
    auto openCookies = [this, &out] {
      s_tray->Command(tray::TrayMenuItemOf(tray::TrayItem::mnuCookie).id);
      m_window = s_tray->FindWindowOfClass(tray::frmPopupCookie::kClassName, 5000);
      if (!m_window) out.problem += " the cookie manager did not open";
      m_shownChecks = CheckMarks(::GetDlgItem(m_window, tray::frmPopupCookie::lstCookie));
    };
    auto click = [this](int id) { s_tray->Post(::GetDlgItem(m_window, id), BM_CLICK); };
    switch (action) {
      case Action::OpenEditor:
        open = openEditor;
        break;
      case Action::Add:
        open = openEditor;
        commit = [this, click] {
          DWORD_PTR ignored = 0;
          ::SendMessageTimeoutA(::GetDlgItem(m_window, tray::frmPopupAdvanced::txtWebSite), WM_SETTEXT, 0,
                                reinterpret_cast<LPARAM>(kAdded), SMTO_NORMAL, 5000, &ignored);
          click(tray::frmPopupAdvanced::cmdAdd);
        };
        break;
      case Action::Remove:
        open = openEditor;
        commit = [this, click] {
          HWND list = ::GetDlgItem(m_window, tray::frmPopupAdvanced::lstURL);
          const auto items = ListBoxItems(list);
          const auto at = std::find(items.begin(), items.end(), kRemoved);
          const WPARAM index = at == items.end() ? static_cast<WPARAM>(-1) : static_cast<WPARAM>(at - items.begin());
          DWORD_PTR ignored = 0;
          ::SendMessageTimeoutA(list, LB_SETCURSEL, index, 0, SMTO_NORMAL, 5000, &ignored);
          click(tray::frmPopupAdvanced::cmdRemove);
        };
        break;
      case Action::AllowSite:
        prepare = [this, &out] {
          BrowserFrame frame;
          blocks::BlockRecord record;
          record.level = 2;
          record.timeOfDayMs = 12 * 3600000;
          record.pageUrl = kBlockedPage;
          const blocks::BlockRecordWire wire = blocks::EncodeBlockRecord(record);
          COPYDATASTRUCT data = {blocks::kRecordTag, sizeof wire, const_cast<blocks::BlockRecordWire*>(&wire)};
          DWORD_PTR taken = 0;
          ::SendMessageTimeoutA(s_tray->form(), WM_COPYDATA, reinterpret_cast<WPARAM>(frame.hwnd()),
                                reinterpret_cast<LPARAM>(&data), SMTO_NORMAL, 5000, &taken);
          if (taken != TRUE) out.problem += " the tray took no record";
          s_tray->Command(tray::TrayMenuItemOf(tray::TrayItem::mnuRecentBlocked).id);
          m_window = s_tray->FindWindowOfClass(tray::frmRecentBlocked::kClassName, 5000);
          if (!m_window) out.problem += " Recently Blocked did not open";
          DWORD_PTR ignored = 0;
          ::SendMessageTimeoutA(::GetDlgItem(m_window, tray::frmRecentBlocked::lstBlocks), LB_SETCURSEL, 0, 0,
                                SMTO_NORMAL, 5000, &ignored);
        };
        open = [click] { click(tray::frmRecentBlocked::cmdAllowSite); };
        break;
      case Action::OpenCookieManager:
        open = openCookies;
        break;
      case Action::Ok:
        open = openCookies;
        commit = [click] { click(tray::frmPopupCookie::cmdOk); };
        break;
      case Action::Clean:
        open = openCookies;
        commit = [click] { click(tray::frmPopupCookie::cmdClean); };
        break;
      case Action::AutoClean:
        open = [this, &out] {
          // The last browser window closes; the helper cleans as "AutoClean" asks, then tells
          // the tray program, which ends.
          if (!RunBrowser("open\nwait 1000\nquit\n", s_browser->path())) out.problem += " the browser did not finish";
          if (!s_tray->WaitExit(10000)) s_tray->Stop();
          TrayDriver::EndStrayCopies(2000);
        };
        break;
    }
  }

  static std::vector<bool> CheckMarks(HWND list) {
    std::vector<bool> checks;
    DWORD_PTR count = 0;
    if (!::SendMessageTimeoutA(list, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, 5000, &count)) return checks;
    for (int i = 0; i < static_cast<int>(count); ++i) {
      DWORD_PTR state = 0;
      ::SendMessageTimeoutA(list, LVM_GETITEMSTATE, i, LVIS_STATEIMAGEMASK, SMTO_NORMAL, 5000, &state);
      checks.push_back((state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2));
    }
    return checks;
  }

  // The user's data before the fault, as far as the fault left it to them: a missing file held
  // nothing.
  static std::vector<std::string> Held(Fault fault, const std::vector<std::string>& stored) {
    return fault == Fault::Missing ? std::vector<std::string>{} : stored;
  }

  void Judge(Action action, Fault fault, Outcome& out) const {
    const std::string allowPath = File(settings::kAllowListFile);
    const std::string keepPath = File(settings::kKeepListFile);
    const auto allowText = IsPlainFile(allowPath) ? ReadText(allowPath) : std::nullopt;
    const auto keepText = IsPlainFile(keepPath) ? ReadText(keepPath) : std::nullopt;
    const std::vector<std::string> entries = allowText ? ParseAllowList(*allowText) : std::vector<std::string>{};
    const std::string keepLine = keepText ? FirstLine(*keepText) : std::string();
    auto listed = [&](const std::string& e) { return std::find(entries.begin(), entries.end(), e) != entries.end(); };

    // Nothing the files held is lost.
    if (fault == Fault::Folder) {
      for (const std::string& path : {allowPath, keepPath}) {
        if (ReadText(path + "\\" + kInsideName) != std::optional<std::string>(kInsideText))
          out.losses.push_back("the folder " + path + " was moved or emptied");
      }
    } else {
      for (const std::string& e : Held(fault, kEntries)) {
        if (action == Action::Remove && e == kRemoved) continue;
        if (!listed(e)) out.losses.push_back("allow-list entry " + e + " lost");
      }
      for (const std::string& name : Held(fault, kKept)) {
        if (!KeepListContains(keepLine, name)) out.losses.push_back("kept cookie " + name + " dropped from the keep list");
      }
    }
    // No cookie the user kept is deleted: a missing keep list is the only one that keeps none.
    for (const std::string& name : Held(fault, kKept)) {
      if (s_cookies->Read(CookieFile(name)) == "<missing>") out.losses.push_back("kept cookie " + name + " deleted");
    }

    const std::vector<std::string> expectedEntries = Held(fault, kEntries);
    std::vector<bool> expectedChecks;
    for (const std::string& name : kCookieNames) {
      const auto kept = Held(fault, kKept);
      expectedChecks.push_back(std::find(kept.begin(), kept.end(), name) != kept.end());
    }
    const bool otherCleaned = s_cookies->Read(CookieFile("user@other")) == "<missing>";
    switch (action) {
      case Action::OpenEditor: out.done = m_shownEntries == expectedEntries; break;
      case Action::Add: out.done = listed(kAdded); break;
      case Action::Remove:
        out.done = allowText && !listed(kRemoved) &&
                   std::find(expectedEntries.begin(), expectedEntries.end(), kRemoved) != expectedEntries.end();
        break;
      case Action::AllowSite: out.done = listed(kBlockedSite); break;
      case Action::OpenCookieManager: out.done = m_shownChecks == expectedChecks; break;
      case Action::Ok: {
        bool same = keepText.has_value() && m_shownChecks.size() == kCookieNames.size();
        for (size_t i = 0; same && i < kCookieNames.size(); ++i)
          same = KeepListContains(keepLine, kCookieNames[i]) == m_shownChecks[i];
        out.done = same;
        break;
      }
      case Action::Clean:
      case Action::AutoClean: out.done = otherCleaned; break;
    }
  }

  static std::unique_ptr<ScopedProductKey> s_key;
  static std::unique_ptr<ProgramFolder> s_program;
  static std::unique_ptr<ScopedFolder> s_cookies;
  static std::unique_ptr<ScopedFolder> s_browser;
  static std::unique_ptr<TrayDriver> s_tray;
  static bool s_hadCookiesValue;
  static std::string s_savedCookiesValue;

  HWND m_window = nullptr;
  std::vector<std::string> m_shownEntries;
  std::vector<bool> m_shownChecks;
};

std::unique_ptr<ScopedProductKey> DataFileFaults::s_key;
std::unique_ptr<ProgramFolder> DataFileFaults::s_program;
std::unique_ptr<ScopedFolder> DataFileFaults::s_cookies;
std::unique_ptr<ScopedFolder> DataFileFaults::s_browser;
std::unique_ptr<TrayDriver> DataFileFaults::s_tray;
bool DataFileFaults::s_hadCookiesValue = false;
std::string DataFileFaults::s_savedCookiesValue;

TEST_P(DataFileFaults, NothingKeptIsLostAndWhatCannotBeDoneIsSaid) {
  const auto [action, fault] = GetParam();
  const Outcome out = Run(action, fault);
  ASSERT_EQ(out.problem, "") << "the suite could not drive the program";
  ++g_tally.pairs;
  std::string notices;
  for (const Notice& n : out.notices) notices += " [" + n.title + ": " + n.text + "]";
  std::cout << Name(action) << " / " << Name(fault) << ": " << (out.done ? "done" : "not done") << ", "
            << out.notices.size() << " message box(es)" << notices << ", " << out.losses.size() << " loss(es)"
            << std::endl;
  if (!out.losses.empty()) {
    ++g_tally.lossPairs;
    g_tally.losses += static_cast<int>(out.losses.size());
  }
  for (const std::string& loss : out.losses) ADD_FAILURE() << "lost: " << loss;
  // In the browser, as its last window closes, the helper has no window to speak from.
  if (action != Action::AutoClean && !out.done && out.notices.empty()) {
    ++g_tally.silentPairs;
    ADD_FAILURE() << "the action was not done and no message box said so";
  }
}

INSTANTIATE_TEST_SUITE_P(EveryActionAndFault, DataFileFaults,
                         ::testing::Combine(::testing::ValuesIn(kActions), ::testing::ValuesIn(kFaults)),
                         [](const ::testing::TestParamInfo<std::tuple<Action, Fault>>& info) {
                           return std::string(Name(std::get<0>(info.param))) + "_" + Name(std::get<1>(info.param));
                         });

}  // namespace
}  // namespace vexbane::faults
