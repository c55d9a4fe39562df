// Test helpers: a copy of the built component in a scratch program folder, BSTRs, file trees.
#pragma once
#include <windows.h>
#include <oleauto.h>

#include <string>

#include "testsupport/registry_fixture.h"

namespace vexbane::cookiecleaner::testing {

using ServerFn = HRESULT(WINAPI*)();

// The built DLL copied into its own program folder and loaded from there, so the keep list
// "IECookieURL.dat" that a test writes lies beside it as beside the installed component.
class InstalledCopy {
 public:
  explicit InstalledCopy(const std::string& folderName) : m_folder(folderName) {
    m_path = m_folder.File("CookieCleaner.dll");
    if (::CopyFileA(VEXBANE_COOKIECLEANER_DLL_PATH, m_path.c_str(), FALSE)) m_dll = ::LoadLibraryA(m_path.c_str());
  }
  ~InstalledCopy() {
    if (m_dll) ::FreeLibrary(m_dll);
    ::DeleteFileA(m_path.c_str());
  }
  InstalledCopy(const InstalledCopy&) = delete;
  InstalledCopy& operator=(const InstalledCopy&) = delete;

  HMODULE module() const { return m_dll; }
  const std::string& path() const { return m_path; }
  const vexbane::testing::ScopedFolder& folder() const { return m_folder; }
  FARPROC Export(const char* name) const { return m_dll ? ::GetProcAddress(m_dll, name) : nullptr; }
  HRESULT Call(const char* name) const {
    auto fn = reinterpret_cast<ServerFn>(Export(name));
    return fn ? fn() : E_NOTIMPL;
  }

 private:
  vexbane::testing::ScopedFolder m_folder;
  std::string m_path;
  HMODULE m_dll = nullptr;
};

// One BSTR, freed once.
class Bstr {
 public:
  explicit Bstr(const wchar_t* text) : m_text(text ? ::SysAllocString(text) : nullptr) {}
  Bstr(const wchar_t* text, UINT length) : m_text(::SysAllocStringLen(text, length)) {}
  ~Bstr() { ::SysFreeString(m_text); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  BSTR get() const { return m_text; }

 private:
  BSTR m_text;
};

inline bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

inline void WriteFileText(const std::string& path, const std::string& text) {
  HANDLE f = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  ::WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  ::CloseHandle(f);
}

// Removes a test's own tree, read-only files included.
inline void RemoveTree(const std::string& path) {
  WIN32_FIND_DATAA found;
  HANDLE find = ::FindFirstFileA((path + "\\*").c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string child = path + "\\" + name;
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
          !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        RemoveTree(child);
      } else {
        ::SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!::DeleteFileA(child.c_str())) ::RemoveDirectoryA(child.c_str());
      }
    } while (::FindNextFileA(find, &found));
    ::FindClose(find);
  }
  ::RemoveDirectoryA(path.c_str());
}

}  // namespace vexbane::cookiecleaner::testing
