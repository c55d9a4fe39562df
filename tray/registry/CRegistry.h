// CRegistry: the tray program's and the uninstaller's only door to the registry.
// Every method opens its key, makes one call and closes the key; no failure escapes:
// reads give fixed fallbacks, writes that fail change nothing and say so by returning false.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "core/settings.h"

namespace vexbane {

class CRegistry {
 public:
  // The tray program uses the product key; the uninstaller passes its own path.
  explicit CRegistry(std::string productKeyPath = settings::kProductKeyPath)
      : m_productKeyPath(std::move(productKeyPath)) {}

  // Value of the product key, trimmed and upper-cased; "1" when it cannot be read
  // (missing key or value, 255 characters or more, stored with no bytes at all).
  std::string GetRegStringValue(const std::string& strValueName) const noexcept;
  // True when the value was written (false, for instance, for an account that may not write
  // the key).
  bool SetRegStringValue(const std::string& strValueName, const std::string& strValueData) const noexcept;
  // The same write under HKEY_LOCAL_MACHINE\strSubKey.
  bool SetRegStringValueEx(const std::string& strSubKey, const std::string& strValueName,
                           const std::string& strValueData) const noexcept;
  // DWORD under HKEY_LOCAL_MACHINE\strSubKey; 2 when it cannot be read.
  int32_t GetRegDWordValue(const std::string& strSubKey, const std::string& strValueName) const noexcept;
  bool SetRegDWordValue(const std::string& strSubKey, const std::string& strValueName,
                        int32_t lngValueData) const noexcept;
  // True when hKey\strSubKey opens.
  bool SubKeyExist(HKEY hKey, const std::string& strSubKey) const noexcept;
  // The current user's shell folder, trimmed and upper-cased; "No" when it cannot be read.
  std::string GetRegPathShellFolder(const std::string& strValueName) const noexcept;

  // Whether the product key holds a value of this name at all: the one question the
  // string reader cannot answer, since a missing value reads "1".
  bool ValueExists(const std::string& strValueName) const noexcept;

  const std::string& ProductKeyPath() const noexcept { return m_productKeyPath; }

 private:
  std::string m_productKeyPath;
};

}  // namespace vexbane
