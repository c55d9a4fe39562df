// A setup step writing values into one key, with its undo.
#include "RegistryStep.h"

#include "win/registry.h"
#include "win/unique.h"

namespace vexbane::setup {

LONG CreateKeyPath(HKEY root, const std::string& path, std::vector<std::string>& created) {
  size_t at = 0;
  for (;;) {
    const size_t next = path.find('\\', at);
    const std::string prefix = path.substr(0, next);
    win::UniqueKey key;
    DWORD disposition = 0;
    LONG rc = ::RegCreateKeyExA(root, prefix.c_str(), 0, nullptr, 0, win::kWriteAccess, nullptr, key.put(), &disposition);
    if (rc != ERROR_SUCCESS) return rc;
    if (disposition == REG_CREATED_NEW_KEY) created.push_back(prefix);
    if (next == std::string::npos) return ERROR_SUCCESS;
    at = next + 1;
  }
}

bool KeyExists(HKEY root, const char* path) {
  win::UniqueKey key;
  return ::RegOpenKeyExA(root, path, 0, win::kReadAccess, key.put()) == ERROR_SUCCESS;
}

unsigned long RegistryStep::Do() noexcept {
  m_createdKeys.clear();
  m_before.clear();
  LONG rc = CreateKeyPath(m_root, m_path, m_createdKeys);
  win::UniqueKey key;
  if (rc == ERROR_SUCCESS) rc = ::RegOpenKeyExA(m_root, m_path, 0, win::kWriteAccess | win::kReadAccess, key.put());
  for (size_t i = 0; rc == ERROR_SUCCESS && i < m_values.size(); ++i) {
    const RegistryValue& value = m_values[i];
    Before before;
    before.name = value.name;
    before.existed = false;
    DWORD size = 0;
    if (::RegQueryValueExA(key.get(), value.name, nullptr, &before.type, nullptr, &size) == ERROR_SUCCESS) {
      before.existed = true;
      before.data.resize(size);
      if (size && ::RegQueryValueExA(key.get(), value.name, nullptr, &before.type, before.data.data(), &size) != ERROR_SUCCESS)
        before.data.clear();
      if (value.onlyWhenMissing) continue;
    }
    if (value.isDword)
      rc = ::RegSetValueExA(key.get(), value.name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value.number), sizeof value.number);
    else
      rc = ::RegSetValueExA(key.get(), value.name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.text.c_str()),
                            static_cast<DWORD>(value.text.size() + 1));
    if (rc == ERROR_SUCCESS) m_before.push_back(std::move(before));
  }
  key.reset();
  if (rc != ERROR_SUCCESS) Undo();
  return static_cast<unsigned long>(rc);
}

void RegistryStep::Undo() noexcept {
  {
    win::UniqueKey key;
    if (::RegOpenKeyExA(m_root, m_path, 0, win::kWriteAccess, key.put()) == ERROR_SUCCESS) {
      for (size_t i = m_before.size(); i-- > 0;) {
        const Before& before = m_before[i];
        if (before.existed)
          ::RegSetValueExA(key.get(), before.name, 0, before.type, before.data.data(), static_cast<DWORD>(before.data.size()));
        else
          ::RegDeleteValueA(key.get(), before.name);
      }
    }
  }
  for (size_t i = m_createdKeys.size(); i-- > 0;) ::RegDeleteKeyA(m_root, m_createdKeys[i].c_str());
  m_before.clear();
  m_createdKeys.clear();
}

}  // namespace vexbane::setup
