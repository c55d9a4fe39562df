// Test helpers for the Windows suites.
#include "registry_fixture.h"

#include <shlwapi.h>

#include "core/settings.h"

namespace vexbane::testing {

void DeleteKeyTree(HKEY root, const char* path) { ::SHDeleteKeyA(root, path); }

bool CreateKey(HKEY root, const char* path) {
  HKEY key = nullptr;
  if (::RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return false;
  ::RegCloseKey(key);
  return true;
}

namespace {
bool QueryRaw(HKEY root, const char* path, const char* name, DWORD& type, void* data, DWORD& size) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(root, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
  LONG rc = ::RegQueryValueExA(key, name, nullptr, &type, static_cast<BYTE*>(data), &size);
  ::RegCloseKey(key);
  return rc == ERROR_SUCCESS;
}
}  // namespace

bool ReadRawString(HKEY root, const char* path, const char* name, std::string& text) {
  char buffer[4096] = {};
  DWORD size = sizeof buffer - 1;
  DWORD type = 0;
  if (!QueryRaw(root, path, name, type, buffer, size) || type != REG_SZ) return false;
  text = buffer;
  return true;
}

void WriteRawBytes(HKEY root, const char* path, const char* name, DWORD type, const void* data, DWORD size) {
  HKEY key = nullptr;
  if (::RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return;
  ::RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
  ::RegCloseKey(key);
}

void WriteRawString(HKEY root, const char* path, const char* name, const std::string& text) {
  WriteRawBytes(root, path, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

bool ReadRawDword(HKEY root, const char* path, const char* name, DWORD& value) {
  DWORD size = sizeof value;
  DWORD type = 0;
  return QueryRaw(root, path, name, type, &value, size) && type == REG_DWORD;
}

void WriteRawDword(HKEY root, const char* path, const char* name, DWORD value) {
  WriteRawBytes(root, path, name, REG_DWORD, &value, sizeof value);
}

void DeleteValue(HKEY root, const char* path, const char* name) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(root, path, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
  ::RegDeleteValueA(key, name);
  ::RegCloseKey(key);
}

bool KeyExists(HKEY root, const char* path) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  ::RegCloseKey(key);
  return true;
}

ScopedProductKey::ScopedProductKey() {
  DeleteKeyTree(HKEY_LOCAL_MACHINE, settings::kProductKeyPath);
  CreateKey(HKEY_LOCAL_MACHINE, settings::kProductKeyPath);
}

ScopedProductKey::~ScopedProductKey() { DeleteKeyTree(HKEY_LOCAL_MACHINE, settings::kProductKeyPath); }

void ScopedProductKey::Set(const char* name, const std::string& text) const {
  WriteRawString(HKEY_LOCAL_MACHINE, settings::kProductKeyPath, name, text);
}

std::string ScopedProductKey::Get(const char* name) const {
  std::string text;
  return ReadRawString(HKEY_LOCAL_MACHINE, settings::kProductKeyPath, name, text) ? text : "<missing>";
}

void ScopedProductKey::Remove(const char* name) const {
  DeleteValue(HKEY_LOCAL_MACHINE, settings::kProductKeyPath, name);
}

ScopedFolder::ScopedFolder(const std::string& name) {
  char temp[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, temp);
  m_path = std::string(temp) + name;
  if (!m_path.empty() && m_path.back() == '\\') m_path.pop_back();
  ::CreateDirectoryA(m_path.c_str(), nullptr);
}

ScopedFolder::~ScopedFolder() {
  WIN32_FIND_DATAA fd;
  HANDLE find = ::FindFirstFileA((m_path + "\\*").c_str(), &fd);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      std::string n = fd.cFileName;
      if (n != "." && n != "..") ::DeleteFileA((m_path + "\\" + n).c_str());
    } while (::FindNextFileA(find, &fd));
    ::FindClose(find);
  }
  ::RemoveDirectoryA(m_path.c_str());
}

void ScopedFolder::Write(const std::string& name, const std::string& data) const {
  HANDLE f = ::CreateFileA(File(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  ::WriteFile(f, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
  ::CloseHandle(f);
}

std::optional<std::string> ReadWholeFile(const std::string& path, DWORD shareMode) {
  HANDLE f = ::CreateFileA(path.c_str(), GENERIC_READ, shareMode, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string data;
  char buf[4096];
  DWORD got = 0;
  while (::ReadFile(f, buf, sizeof buf, &got, nullptr) && got > 0) data.append(buf, got);
  ::CloseHandle(f);
  return data;
}

std::string ScopedFolder::Read(const std::string& name) const {
  return ReadWholeFile(File(name), FILE_SHARE_READ).value_or("<missing>");
}

}  // namespace vexbane::testing
