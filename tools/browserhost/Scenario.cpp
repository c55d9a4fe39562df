// The stand-in browser's scenario language.
#include "Scenario.h"

#include <cstdlib>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "HostSession.h"
#include "HostTab.h"
#include "TrayProbe.h"
#include "core/settings.h"
#include "core/tray_menu.h"
#include "win/registry.h"

namespace vexbane::host {
namespace {

using Command = std::function<bool(HostSession&, const std::string& arg, std::ostream& out)>;

std::string Hex(HRESULT hr) {
  std::ostringstream s;
  s << "0x" << std::hex << static_cast<unsigned long>(hr);
  return s.str();
}

bool OpenWindow(HostSession& s, const std::string& cls, std::ostream& out) {
  HostWindow& w = s.Open(cls.empty() ? kFrameClass : cls);
  out << "open " << (cls.empty() ? kFrameClass : cls) << " helper "
      << (SUCCEEDED(w.helperResult()) ? "attached" : "missing " + Hex(w.helperResult())) << std::endl;
  return true;
}

// A tray menu item by its command id or its name ("mnuBlockAllPopup").
const tray::TrayMenuItem* FindTrayItem(const std::string& idOrName) {
  for (const tray::TrayMenuItem& item : tray::AllTrayMenuItems())
    if (idOrName == item.name) return &item;
  char* end = nullptr;
  const unsigned long id = std::strtoul(idOrName.c_str(), &end, 0);
  if (end == idOrName.c_str() || *end || id > 0xFFFF) return nullptr;
  return tray::FindTrayMenuItem(static_cast<uint16_t>(id));
}

// The value of a setting in the product key, as the helper and the tray read it.
bool PrintSetting(HostSession&, const std::string& name, std::ostream& out) {
  if (name.empty()) return false;
  std::string bytes;
  if (win::QueryValueBytes(HKEY_LOCAL_MACHINE, settings::kProductKeyPath, name.c_str(), 255, bytes) != ERROR_SUCCESS) {
    out << "setting " << name << " missing" << std::endl;
    return true;
  }
  const size_t end = bytes.find('\0');
  out << "setting " << name << " " << bytes.substr(0, end) << std::endl;
  return true;
}

// "tray blocked": the "Recently Blocked" window's counters and rows, one line each.
bool ShowRecentBlocked(HWND form, std::ostream& out) {
  HWND window = OpenRecentBlocked(form, 5000);
  if (!window) {
    out << "blocked none" << std::endl;
    return true;
  }
  const RecentBlockedView view = ReadRecentBlocked(window);
  out << "blocked counts " << view.counts << std::endl;
  int n = 0;
  for (std::string row : view.rows) {
    for (size_t tab; (tab = row.find('\t')) != std::string::npos;) row.replace(tab, 1, " | ");
    out << "blocked row " << ++n << " " << row << std::endl;
  }
  return true;
}

// The tray program seen from outside: "tray state", "tray click" (a left click on the icon),
// "tray command ID|NAME" (a menu item). A command for a tray that is not running prints "tray none".
bool RunTrayCommand(HostSession&, const std::string& arg, std::ostream& out) {
  constexpr DWORD kAnswerTimeoutMs = 5000;  // a blink holds the form for about 1.2 s
  HWND form = FindTrayForm();
  if (!form) {
    out << "tray none" << std::endl;
    return arg == "state" || arg == "click" || arg == "blocked" || arg == "menu" || arg.rfind("command ", 0) == 0;
  }
  if (arg == "click") {
    if (!PostTrayIconClick(form)) return false;
    out << "tray click" << std::endl;
  } else if (arg.rfind("command ", 0) == 0) {
    const tray::TrayMenuItem* item = FindTrayItem(arg.substr(8));
    if (!item || item->separator || !PostTrayCommand(form, item->id)) return false;
    out << "tray command " << item->id << " " << item->caption << std::endl;
  } else if (arg == "menu") {
    // The menu holds the tray's thread until it closes: no state is asked for.
    if (!PostTrayIconMenu(form)) return false;
    out << "tray menu" << std::endl;
    return true;
  } else if (arg == "blocked") {
    return ShowRecentBlocked(form, out);
  } else if (arg.rfind("allow-site ", 0) == 0) {
    HWND window = OpenRecentBlocked(form, kAnswerTimeoutMs);
    int row = 0;
    try {
      row = std::stoi(arg.substr(11));
    } catch (...) {
      return false;
    }
    if (!window || !AllowSiteOfRow(window, row)) return false;
    out << "blocked status " << ReadRecentBlocked(window).status << std::endl;
    return true;
  } else if (arg.rfind("open ", 0) == 0 || arg.rfind("block-host ", 0) == 0) {
    const bool open = arg.rfind("open ", 0) == 0;
    HWND window = OpenRecentBlocked(form, kAnswerTimeoutMs);
    int row = 0;
    try {
      row = std::stoi(arg.substr(open ? 5 : 11));
    } catch (...) {
      return false;
    }
    if (!window || !(open ? OpenRow(window, row) : BlockHostOfRow(window, row))) return false;
    out << "blocked status " << ReadRecentBlocked(window).status << std::endl;
    return true;
  } else if (arg != "state") {
    return false;
  }
  std::optional<uint32_t> state = QueryTrayState(form, kAnswerTimeoutMs);
  if (!state) {
    out << "tray silent" << std::endl;
    return true;
  }
  out << "tray " << DescribeTrayState(*state) << std::endl;
  return true;
}

// "quit 3 1 2": the order in which a window of the tab shapes tears down its tabs.
bool ParseTabOrder(const std::string& arg, std::vector<size_t>& order) {
  std::istringstream words(arg);
  std::string word;
  while (words >> word) {
    char* end = nullptr;
    const unsigned long n = std::strtoul(word.c_str(), &end, 10);
    if (end == word.c_str() || *end || n == 0) return false;
    order.push_back(n);
  }
  return true;
}

// "tab new", "tab N", "tab close": the tabs of the current window (tab shapes only).
bool RunTabCommand(HostSession& s, const std::string& arg, std::ostream& out) {
  HostWindow& w = s.Current();
  if (!w.tabbed()) return false;
  if (arg == "new") {
    const size_t n = w.NewTab();
    if (!n) return false;
    out << "tab " << n << " helper "
        << (SUCCEEDED(w.helperResult()) ? "attached" : "missing " + Hex(w.helperResult())) << std::endl;
    HostSession::Pump(50);
    return true;
  }
  if (arg == "close") {
    w.CloseTab();
    out << "tab closed" << std::endl;
    HostSession::Pump(20);
    return true;
  }
  char* end = nullptr;
  const unsigned long n = std::strtoul(arg.c_str(), &end, 10);
  if (end == arg.c_str() || *end || !w.SelectTab(n)) return false;
  out << "tab " << n << std::endl;
  HostSession::Pump(50);
  return true;
}

// "tls exhaust": takes every TLS slot the process has left, as a browser with many add-ons
// does, so that a helper loaded after it finds none; "tls release" gives them back.
bool RunTlsCommand(HostSession&, const std::string& arg, std::ostream& out) {
  static std::vector<DWORD> held;
  if (arg == "exhaust") {
    for (DWORD slot; (slot = ::TlsAlloc()) != TLS_OUT_OF_INDEXES;) held.push_back(slot);
  } else if (arg == "release") {
    for (DWORD slot : held) ::TlsFree(slot);
    held.clear();
  } else {
    return false;
  }
  out << "tls " << arg << std::endl;
  return true;
}

const std::map<std::string, Command>& Commands() {
  static const std::map<std::string, Command> commands = {
      {"open", OpenWindow},
      {"second", [](HostSession& s, const std::string& arg, std::ostream& out) {
         return arg == "window" && OpenWindow(s, "", out);
       }},
      {"window", [](HostSession& s, const std::string& arg, std::ostream& out) {
         if (!s.Select(std::strtoul(arg.c_str(), nullptr, 10))) return false;
         out << "window " << arg << std::endl;
         return true;
       }},
      {"navigate", [](HostSession& s, const std::string& arg, std::ostream& out) {
         s.Current().Navigate(arg);
         out << "navigate " << arg << std::endl;
         return true;
       }},
      {"title", [](HostSession& s, const std::string& arg, std::ostream& out) {
         s.Current().Title(arg);
         out << "title " << arg << std::endl;
         return true;
       }},
      {"click", [](HostSession& s, const std::string&, std::ostream& out) {
         s.Click();
         out << "click" << std::endl;
         return true;
       }},
      {"ctrl", [](HostSession& s, const std::string& arg, std::ostream& out) {
         if (arg != "down" && arg != "up") return false;
         s.CtrlKey(arg == "down");
         out << "ctrl " << arg << std::endl;
         return true;
       }},
      // "key NAME", "key NAME down", "key NAME up": a key through the system's input queue.
      {"key", [](HostSession& s, const std::string& arg, std::ostream& out) {
         const size_t space = arg.find(' ');
         const std::string name = arg.substr(0, space);
         const std::string half = space == std::string::npos ? std::string() : arg.substr(space + 1);
         KeyChord chord;
         if (!KeyChordFromName(name, chord) || (!half.empty() && half != "down" && half != "up")) return false;
         s.Key(chord, half != "up", half != "down");
         out << "key " << arg << std::endl;
         return true;
       }},
      // "newwindow-flags FLAGS [URL]": the request with NewWindow3's flags FLAGS (0x80: the user
      // asked the browser, 0x100: let through from the information bar, 0x1: the page unloads).
      {"newwindow-flags", [](HostSession& s, const std::string& arg, std::ostream& out) {
         const size_t space = arg.find(' ');
         const std::string flagsText = arg.substr(0, space);
         char* end = nullptr;
         const unsigned long flags = std::strtoul(flagsText.c_str(), &end, 0);
         if (flagsText.empty() || *end) return false;
         const std::string url = space == std::string::npos ? std::string(kDefaultPopupUrl) : arg.substr(space + 1);
         bool blocked = s.Current().NewWindow(url, static_cast<long>(flags));
         out << "newwindow " << (blocked ? "blocked" : "allowed") << std::endl;
         HostSession::Pump(20);
         return true;
       }},
      {"newwindow", [](HostSession& s, const std::string& arg, std::ostream& out) {
         bool blocked = s.Current().NewWindow(arg.empty() ? kDefaultPopupUrl : arg);
         out << "newwindow " << (blocked ? "blocked" : "allowed") << std::endl;
         HostSession::Pump(20);
         return true;
       }},
      // The same request with NewWindow3 suggesting a tab, as IE 7 and later may.
      {"newtab", [](HostSession& s, const std::string& arg, std::ostream& out) {
         bool blocked = s.Current().NewWindow(arg.empty() ? kDefaultPopupUrl : arg, kNewTabFlags);
         out << "newtab " << (blocked ? "blocked" : "allowed") << std::endl;
         HostSession::Pump(20);
         return true;
       }},
      {"browser", [](HostSession& s, const std::string& arg, std::ostream& out) {
         EventOrder order;
         if (!EventOrderFromName(arg, order)) return false;
         s.SetEventOrder(order);
         out << "browser " << arg << std::endl;
         return true;
       }},
      {"opened", [](HostSession& s, const std::string&, std::ostream& out) {
         // Windows the browsers opened on the helper's request (Navigate2 into a new window).
         auto print = [&out](const std::string& by, const HostBrowser::Opened& o) {
           out << "opened by " << by << (o.asTab ? " as a tab " : " ") << o.url << " | " << o.headers << std::endl;
         };
         size_t n = 0;
         for (const auto& w : s.windows()) {
           ++n;
           const std::string window = "window " + std::to_string(n);
           if (!w->tabbed() && w->browser())
             for (const HostBrowser::Opened& o : w->browser()->opened()) print(window, o);
           // A tab's browser lives on the tab's thread: read there.
           for (size_t t = 1; w->tabbed() && t <= w->tabCount(); ++t) {
             HostTab* tab = w->tab(t);
             if (!tab || tab->closed()) continue;
             std::vector<HostBrowser::Opened> opened;
             tab->Run([&] { opened = tab->browser()->opened(); });
             for (const HostBrowser::Opened& o : opened) print(window + " tab " + std::to_string(t), o);
           }
         }
         return true;
       }},
      {"dialog", [](HostSession& s, const std::string& arg, std::ostream& out) {
         if (arg == "open") {
           s.Current().OpenDialog();
           out << "dialog opened" << std::endl;
         } else if (arg == "close") {
           s.Current().CloseDialog();
         } else if (arg == "check") {
           // Asked of the window system, not of the host's own bookkeeping: the helper closes
           // dialogs by a posted WM_CLOSE.
           HostSession::Pump(20);
           s.Current().FlushTabLines();
           out << "dialog " << (s.Current().DialogExists() ? "exists" : "gone") << std::endl;
           return true;
         } else {
           return false;
         }
         HostSession::Pump(20);
         return true;
       }},
      {"post", [](HostSession& s, const std::string& arg, std::ostream& out) {
         UINT msg = static_cast<UINT>(std::strtoul(arg.c_str(), nullptr, 0));
         if (msg != 0x0491 && msg != 0x0400) return false;
         s.Post(msg);
         out << "post " << arg << std::endl;
         return true;
       }},
      {"tray", RunTrayCommand},
      {"tls", RunTlsCommand},
      {"setting", PrintSetting},
      // "wait MS", or "wait tray": until the tray copies the attaches started have ended but one.
      {"wait", [](HostSession&, const std::string& arg, std::ostream& out) {
         if (arg == "tray") {
           out << "running tray copies " << WaitForOneTrayProcess(20000) << std::endl;
           return true;
         }
         HostSession::Pump(std::strtoul(arg.c_str(), nullptr, 10));
         return true;
       }},
      {"fullname", [](HostSession& s, const std::string& arg, std::ostream&) {
         s.Current().SetFullName(arg);
         return true;
       }},
      {"quit", [](HostSession& s, const std::string& arg, std::ostream& out) {
         std::vector<size_t> order;
         // "quit together 1 2": those tabs quit at the same moment, released by one event.
         const std::string together = "together ";
         if (arg.compare(0, together.size(), together) == 0) {
           if (!ParseTabOrder(arg.substr(together.size()), order) || order.empty() || !s.Current().tabbed())
             return false;
           s.Current().QuitTogether(order);
           out << "quit" << std::endl;
           return true;
         }
         if (!ParseTabOrder(arg, order)) return false;
         s.Quit(order);
         out << "quit" << std::endl;
         return true;
       }},
      {"tab", RunTabCommand},
      {"echo", [](HostSession&, const std::string& arg, std::ostream& out) {
         out << arg << std::endl;
         return true;
       }},
  };
  return commands;
}

}  // namespace

int RunScenario(std::istream& in, std::ostream& out) { return RunScenario(in, out, ShapeOptions()); }

int RunScenario(std::istream& in, std::ostream& out, const ShapeOptions& shape) {
  HostSession session(out, shape);
  if (FAILED(session.shellWindowsResult()))
    out << "note shell window list not registered " << Hex(session.shellWindowsResult()) << std::endl;
  const int status = RunCommands(session, in, out);
  session.QuitAll();
  return status;
}

int RunCommands(HostSession& session, std::istream& in, std::ostream& out) {
  int status = 0;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    size_t b = line.find_first_not_of(" \t");
    if (b == std::string::npos || line[b] == '#') continue;
    size_t e = line.find_first_of(" \t", b);
    std::string verb = line.substr(b, e == std::string::npos ? std::string::npos : e - b);
    std::string arg;
    if (e != std::string::npos) {
      size_t a = line.find_first_not_of(" \t", e);
      if (a != std::string::npos) arg = line.substr(a);
    }
    // The first browser window opens with the first command that needs one.
    if (!session.HasCurrent() && verb != "open" && verb != "second" && verb != "echo" && verb != "wait" &&
        verb != "tray" && verb != "setting" && verb != "tls" && verb != "browser")
      OpenWindow(session, "", out);
    auto it = Commands().find(verb);
    if (it == Commands().end() || !it->second(session, arg, out)) {
      out << "error cannot run: " << line << std::endl;
      status = 2;
    }
  }
  return status;
}

}  // namespace vexbane::host
