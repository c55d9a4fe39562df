// CRegistry over the small registry helpers.
#include "CRegistry.h"

#include "win/registry.h"
#include "win/unique.h"

namespace vexbane {
namespace {

std::string ReadText(HKEY root, const std::string& path, const std::string& name, uint32_t bufferSize,
                     const char* fallback) noexcept {
  try {
    std::string bytes;
    if (win::QueryValueBytes(root, path.c_str(), name.c_str(), bufferSize, bytes) != ERROR_SUCCESS)
      return fallback;
    auto text = settings::TextFromValueBuffer(bytes.data(), static_cast<uint32_t>(bytes.size()), true);
    return text ? *text : fallback;
  } catch (...) {
    return fallback;
  }
}

}  // namespace

std::string CRegistry::GetRegStringValue(const std::string& strValueName) const noexcept {
  return ReadText(HKEY_LOCAL_MACHINE, m_productKeyPath, strValueName, settings::kValueBufferSize,
                  settings::kTextFallback);
}

bool CRegistry::SetRegStringValue(const std::string& strValueName,
                                  const std::string& strValueData) const noexcept {
  return win::SetStringValue(HKEY_LOCAL_MACHINE, m_productKeyPath.c_str(), strValueName.c_str(), strValueData) ==
         ERROR_SUCCESS;
}

bool CRegistry::SetRegStringValueEx(const std::string& strSubKey, const std::string& strValueName,
                                    const std::string& strValueData) const noexcept {
  return win::SetStringValue(HKEY_LOCAL_MACHINE, strSubKey.c_str(), strValueName.c_str(), strValueData) ==
         ERROR_SUCCESS;
}

int32_t CRegistry::GetRegDWordValue(const std::string& strSubKey,
                                    const std::string& strValueName) const noexcept {
  int32_t value = settings::kDwordFallback;
  win::QueryDwordValue(HKEY_LOCAL_MACHINE, strSubKey.c_str(), strValueName.c_str(), value);
  return value;
}

bool CRegistry::SetRegDWordValue(const std::string& strSubKey, const std::string& strValueName,
                                 int32_t lngValueData) const noexcept {
  return win::SetDwordValue(HKEY_LOCAL_MACHINE, strSubKey.c_str(), strValueName.c_str(), lngValueData) ==
         ERROR_SUCCESS;
}

bool CRegistry::SubKeyExist(HKEY hKey, const std::string& strSubKey) const noexcept {
  win::UniqueKey key;
  return ::RegOpenKeyA(hKey, strSubKey.c_str(), key.put()) == ERROR_SUCCESS;
}

std::string CRegistry::GetRegPathShellFolder(const std::string& strValueName) const noexcept {
  return ReadText(HKEY_CURRENT_USER, settings::kShellFoldersKeyPath, strValueName,
                  settings::kShellFolderBufferSize, settings::kShellFolderFallback);
}

bool CRegistry::ValueExists(const std::string& strValueName) const noexcept {
  return win::ValueExists(HKEY_LOCAL_MACHINE, m_productKeyPath.c_str(), strValueName.c_str());
}

}  // namespace vexbane
