// The fault suite's means: files, the program folder, the tray program from outside, the browser.
#include "FaultSupport.h"

#include <cstring>

#include "core/tray_state.h"
#include "frmTrayForm.h"
#include "frmMessage.h"
#include "frmPopupAdvanced.h"
#include "frmPopupCookie.h"
#include "frmRecentBlocked.h"

#ifndef VEXBANE_TRAY_EXE
#error "the suite names the programs it installs"
#endif

namespace vexbane::faults {
namespace {

constexpr DWORD kAnswerMs = 15000;

std::string TempFolder(const char* name) {
  char temp[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, temp);
  std::string path = std::string(temp) + name;
  return path;
}

using ServerCall = HRESULT(WINAPI*)();

HRESULT CallServer(const std::string& dll, const char* name) {
  HMODULE module = ::LoadLibraryA(dll.c_str());
  if (!module) return HRESULT_FROM_WIN32(::GetLastError());
  auto call = reinterpret_cast<ServerCall>(::GetProcAddress(module, name));
  HRESULT hr = call ? call() : E_NOTIMPL;
  ::FreeLibrary(module);
  return hr;
}

std::string WindowText(HWND window) {
  char text[512] = {};
  ::GetWindowTextA(window, text, sizeof text);
  return text;
}

struct ClassSearch {
  const char* className;
  DWORD processId;
  HWND found;
};

BOOL CALLBACK MatchClass(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<ClassSearch*>(param);
  char name[128] = {};
  DWORD pid = 0;
  ::GetWindowThreadProcessId(window, &pid);
  if (pid == search->processId && ::GetClassNameA(window, name, sizeof name) &&
      std::strcmp(name, search->className) == 0) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK FindTrayForms(HWND window, LPARAM param) {
  char text[64] = {};
  ::GetWindowTextA(window, text, sizeof text);
  if (std::strcmp(text, tray::kTrayFormCaption) == 0) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    reinterpret_cast<std::vector<DWORD>*>(param)->push_back(pid);
  }
  return TRUE;
}

}  // namespace

bool IsPlainFile(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFolder(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void RemovePath(const std::string& path) {
  if (IsFolder(path)) {
    WIN32_FIND_DATAA found;
    HANDLE find = ::FindFirstFileA((path + "\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") RemovePath(path + "\\" + name);
      } while (::FindNextFileA(find, &found));
      ::FindClose(find);
    }
    ::RemoveDirectoryA(path.c_str());
    return;
  }
  ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  ::DeleteFileA(path.c_str());
}

void WriteText(const std::string& path, const std::string& text) {
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  ::CloseHandle(file);
}

std::optional<std::string> ReadText(const std::string& path) {
  return vexbane::testing::ReadWholeFile(path, FILE_SHARE_READ | FILE_SHARE_WRITE);
}

ProgramFolder::ProgramFolder() : m_path(TempFolder("vexbane fault suite")) {
  RemovePath(m_path);
  if (!::CreateDirectoryA(m_path.c_str(), nullptr)) {
    m_error = "cannot create " + m_path;
    return;
  }
  const std::pair<const char*, const char*> files[] = {{VEXBANE_TRAY_EXE, "VexbaneTray.exe"},
                                                       {VEXBANE_HELPER_DLL, "VexbaneIEDLL.dll"},
                                                       {VEXBANE_CLEANER_DLL, "CookieCleaner.dll"}};
  for (const auto& [from, name] : files) {
    if (!::CopyFileA(from, File(name).c_str(), FALSE)) {
      m_error = std::string("cannot copy ") + from;
      return;
    }
  }
  for (const char* dll : {"VexbaneIEDLL.dll", "CookieCleaner.dll"}) {
    if (FAILED(CallServer(File(dll), "DllRegisterServer"))) {
      m_error = std::string("cannot register ") + dll;
      return;
    }
  }
}

ProgramFolder::~ProgramFolder() {
  // The other suites register the copies they load; none may find this folder's.
  for (const char* dll : {"VexbaneIEDLL.dll", "CookieCleaner.dll"}) CallServer(File(dll), "DllUnregisterServer");
  RemovePath(m_path);
}

TrayDriver::TrayDriver()
    : m_reply(::CreateWindowExA(0, "STATIC", "fault suite", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr)) {}

TrayDriver::~TrayDriver() {
  Stop();
  // A copy the helper started while this one was gone ends through its own published signal.
  if (m_key) {
    const std::string published = m_key->Get("hForm");
    if (published != "<missing>" && published != "0") {
      ::PostMessageA(reinterpret_cast<HWND>(static_cast<intptr_t>(std::stol(published))), BM_CLICK, 0, 0);
      for (int i = 0; i < 100 && m_key->Get("hForm") != "0"; ++i) ::Sleep(50);
    }
  }
  ::DestroyWindow(m_reply);
}

bool TrayDriver::Running() const {
  return m_process.hProcess && ::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT;
}

bool TrayDriver::WaitExit(DWORD ms) const {
  return !m_process.hProcess || ::WaitForSingleObject(m_process.hProcess, ms) == WAIT_OBJECT_0;
}

bool TrayDriver::EnsureRunning(const std::string& exePath, const vexbane::testing::ScopedProductKey& key) {
  m_key = &key;
  if (Running()) return true;
  // A copy the helper started late would hold the single-instance mutex, and this one would end
  // at once: such a copy is ended first, and the start tried once more if one came in between.
  for (int attempt = 0; attempt < 2; ++attempt) {
    Stop();
    EndStrayCopies(0);
    if (Launch(exePath, key)) return true;
  }
  Stop();
  return false;
}

bool TrayDriver::Launch(const std::string& exePath, const vexbane::testing::ScopedProductKey& key) {
  key.Remove("hForm");
  std::string command = "\"" + exePath + "\"";
  const std::string folder = exePath.substr(0, exePath.find_last_of('\\'));
  // No standard handles of this process: a test runner waits for its output pipe to close.
  STARTUPINFOA startup = {sizeof startup};
  startup.dwFlags = STARTF_USESTDHANDLES;
  if (!::CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &m_process))
    return false;
  for (int i = 0; i < 200 && Running() && (key.Get("hForm") == "<missing>" || key.Get("hForm") == "0"); ++i)
    ::Sleep(50);
  const std::string published = key.Get("hForm");
  if (!Running() || published == "<missing>" || published == "0") return false;
  m_cmdForm = reinterpret_cast<HWND>(static_cast<intptr_t>(std::stol(published)));
  m_form = ::GetParent(m_cmdForm);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(m_form, &owner);
  // The handles are published before the loop runs; the answer comes once it does.
  return m_form && owner == m_process.dwProcessId && RoundTrip();
}

void TrayDriver::Stop() {
  if (!m_process.hProcess) return;
  if (Running() && m_cmdForm) {
    ::PostMessageA(m_cmdForm, BM_CLICK, 0, 0);
    WaitExit(10000);
  }
  if (Running()) {
    ::TerminateProcess(m_process.hProcess, 1);
    WaitExit(5000);
  }
  ::CloseHandle(m_process.hProcess);
  ::CloseHandle(m_process.hThread);
  m_process = {};
  m_form = nullptr;
  m_cmdForm = nullptr;
}

bool TrayDriver::RoundTrip() {
  if (!Running() || !m_form) return false;
  const UINT message = ::RegisterWindowMessageA(tray::kTrayStateMessage);
  if (!::PostMessageA(m_form, message, 0, reinterpret_cast<LPARAM>(m_reply))) return false;
  const DWORD start = ::GetTickCount();
  MSG answer;
  while (::GetTickCount() - start < kAnswerMs) {
    if (::PeekMessageA(&answer, m_reply, message, message, PM_REMOVE)) return true;
    if (!Running()) return false;
    ::Sleep(5);
  }
  return false;
}

HWND TrayDriver::OpenMessageBox() const { return FindWindowOfClass(tray::frmMessage::kClassName); }

bool TrayDriver::Settle() {
  // A form may post itself a notice while it loads: two quiet rounds in a row make sure the
  // program has come back to its own loop.
  int quiet = 0;
  for (int round = 0; round < 40; ++round) {
    if (!RoundTrip()) return false;
    HWND box = OpenMessageBox();
    if (!box) {
      if (++quiet == 2) return true;
      continue;
    }
    quiet = 0;
    m_notices.push_back({WindowText(::GetDlgItem(box, tray::frmMessage::lblTitle)),
                         WindowText(::GetDlgItem(box, tray::frmMessage::lblMessage))});
    ::PostMessageA(::GetDlgItem(box, tray::frmMessage::cmdYes), BM_CLICK, 0, 0);
  }
  return false;
}

bool TrayDriver::Post(HWND target, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!::PostMessageA(target, msg, wParam, lParam)) return false;
  return Settle();
}

bool TrayDriver::Command(uint16_t menuId) { return Post(m_form, WM_COMMAND, menuId, 0); }

std::vector<Notice> TrayDriver::TakeNotices() {
  std::vector<Notice> taken;
  taken.swap(m_notices);
  return taken;
}

HWND TrayDriver::FindWindowOfClass(const char* className, DWORD ms) const {
  const DWORD start = ::GetTickCount();
  for (;;) {
    ClassSearch search = {className, m_process.dwProcessId, nullptr};
    ::EnumWindows(&MatchClass, reinterpret_cast<LPARAM>(&search));
    if (search.found || ::GetTickCount() - start >= ms) return search.found;
    ::Sleep(20);
  }
}

void TrayDriver::CloseToolWindows() {
  const std::pair<const char*, int> windows[] = {{tray::frmPopupAdvanced::kClassName, tray::frmPopupAdvanced::cmdExit},
                                                 {tray::frmPopupCookie::kClassName, tray::frmPopupCookie::cmdExit},
                                                 {tray::frmRecentBlocked::kClassName, tray::frmRecentBlocked::cmdExit}};
  for (const auto& [className, exitId] : windows) {
    if (HWND window = FindWindowOfClass(className)) Post(::GetDlgItem(window, exitId), BM_CLICK);
  }
}

void TrayDriver::EndStrayCopies(DWORD ms) {
  const DWORD start = ::GetTickCount();
  do {
    std::vector<DWORD> copies;
    ::EnumWindows(&FindTrayForms, reinterpret_cast<LPARAM>(&copies));
    for (DWORD pid : copies) {
      if (HANDLE process = ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
        ::TerminateProcess(process, 1);
        ::WaitForSingleObject(process, 5000);
        ::CloseHandle(process);
      }
    }
    ::Sleep(50);
  } while (::GetTickCount() - start < ms);
}

std::string ListBoxItem(HWND list, int index) {
  wchar_t text[1024] = {};
  DWORD_PTR length = 0;
  if (!::SendMessageTimeoutW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0, SMTO_NORMAL, kAnswerMs, &length) ||
      static_cast<LRESULT>(length) == LB_ERR || length >= 1024)
    return "<error>";
  DWORD_PTR ignored = 0;
  ::SendMessageTimeoutW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text), SMTO_NORMAL,
                        kAnswerMs, &ignored);
  char narrow[2048] = {};
  ::WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
  return narrow;
}

std::vector<std::string> ListBoxItems(HWND list) {
  std::vector<std::string> items;
  DWORD_PTR count = 0;
  if (!::SendMessageTimeoutA(list, LB_GETCOUNT, 0, 0, SMTO_NORMAL, kAnswerMs, &count)) return items;
  for (int i = 0; i < static_cast<int>(count); ++i) items.push_back(ListBoxItem(list, i));
  return items;
}

std::optional<std::string> RunBrowser(const std::string& scenario, const std::string& folder) {
  const std::string scenarioFile = folder + "\\scenario.txt";
  const std::string outFile = folder + "\\browser-out.txt";
  WriteText(scenarioFile, scenario);
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE out = ::CreateFileA(outFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
  if (out == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string command = std::string("\"") + VEXBANE_BROWSERHOST + "\" \"" + scenarioFile + "\"";
  STARTUPINFOA startup = {sizeof startup};
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = out;
  startup.hStdError = out;
  PROCESS_INFORMATION process = {};
  const BOOL started =
      ::CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
  ::CloseHandle(out);
  if (!started) return std::nullopt;
  const bool finished = ::WaitForSingleObject(process.hProcess, 60000) == WAIT_OBJECT_0;
  if (!finished) ::TerminateProcess(process.hProcess, 1);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  if (!finished) return std::nullopt;
  return ReadText(outFile);
}

}  // namespace vexbane::faults
