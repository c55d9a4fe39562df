// Small registry helpers over the ANSI registry calls.
#include "win/registry.h"

#include <optional>

#include "core/settings.h"
#include "win/unique.h"

namespace vexbane::win {

LONG QueryValueBytes(HKEY root, const char* path, const char* name, uint32_t bufferSize,
                     std::string& bytes) {
  UniqueKey key;
  LONG rc = ::RegOpenKeyExA(root, path, 0, kReadAccess, key.put());
  if (rc != ERROR_SUCCESS) return rc;
  std::string buffer(bufferSize, ' ');
  DWORD size = bufferSize;
  DWORD type = 0;
  rc = ::RegQueryValueExA(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                          &size);
  if (rc != ERROR_SUCCESS) return rc;
  buffer.resize(size);
  bytes = std::move(buffer);
  return ERROR_SUCCESS;
}

LONG SetStringValue(HKEY root, const char* path, const char* name, const std::string& text) {
  UniqueKey key;
  LONG rc = ::RegOpenKeyExA(root, path, 0, kWriteAccess, key.put());
  if (rc != ERROR_SUCCESS) return rc;
  return ::RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size() + 1));
}

LONG QueryDwordValue(HKEY root, const char* path, const char* name, int32_t& value) {
  UniqueKey key;
  LONG rc = ::RegOpenKeyExA(root, path, 0, kReadAccess, key.put());
  if (rc != ERROR_SUCCESS) return rc;
  unsigned char data[4] = {};
  DWORD size = sizeof data;
  DWORD type = REG_NONE;
  rc = ::RegQueryValueExA(key.get(), name, nullptr, &type, data, &size);
  if (rc != ERROR_SUCCESS) return rc;
  std::optional<int32_t> number = settings::DwordFromValueBuffer(type, data, size);
  if (!number) return ERROR_UNSUPPORTED_TYPE;
  value = *number;
  return ERROR_SUCCESS;
}

LONG SetDwordValue(HKEY root, const char* path, const char* name, int32_t value) {
  UniqueKey key;
  LONG rc = ::RegOpenKeyExA(root, path, 0, kWriteAccess, key.put());
  if (rc != ERROR_SUCCESS) return rc;
  DWORD data = static_cast<DWORD>(value);
  return ::RegSetValueExA(key.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                          sizeof data);
}

bool ValueExists(HKEY root, const char* path, const char* name) {
  UniqueKey key;
  if (::RegOpenKeyExA(root, path, 0, kReadAccess, key.put()) != ERROR_SUCCESS) return false;
  return ::RegQueryValueExA(key.get(), name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

}  // namespace vexbane::win
