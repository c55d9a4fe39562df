// The steps for every account, over the product-agnostic access calls of win/.
#include "AccountSteps.h"

#include <string>

#include "core/settings.h"
#include "win/account_access.h"
#include "win/file.h"
#include "win/occasional_calls.h"
#include "win/registry.h"
#include "win/unique.h"
#include "win/version.h"

namespace vexbane::accountsteps {
namespace {

// The first failure is the result; every step still runs.
class FirstError {
 public:
  void Take(DWORD rc) noexcept {
    if (m_rc == ERROR_SUCCESS && rc != ERROR_SUCCESS) m_rc = rc;
  }
  DWORD get() const noexcept { return m_rc; }

 private:
  DWORD m_rc = ERROR_SUCCESS;
};

DWORD CreateKey(const char* path) noexcept {
  win::UniqueKey key;
  DWORD disposition = 0;
  return static_cast<DWORD>(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, REG_OPTION_NON_VOLATILE,
                                              KEY_QUERY_VALUE, nullptr, key.put(), &disposition));
}

DWORD WriteElevationPolicy(const std::string& folder) noexcept {
  DWORD rc = CreateKey(kElevationPolicyKey);
  if (rc != ERROR_SUCCESS) return rc;
  FirstError first;
  first.Take(static_cast<DWORD>(win::SetStringValue(HKEY_LOCAL_MACHINE, kElevationPolicyKey, "AppName",
                                                    settings::kTrayProgramFile)));
  first.Take(static_cast<DWORD>(win::SetStringValue(HKEY_LOCAL_MACHINE, kElevationPolicyKey, "AppPath", folder)));
  first.Take(static_cast<DWORD>(win::SetDwordValue(HKEY_LOCAL_MACHINE, kElevationPolicyKey, "Policy", 3)));
  return first.get();
}

// The folder as the policy names it: no trailing backslash, as Internet Explorer compares it
// with the folder of the program it is asked to start.
std::string FolderWithoutSlash(const char* folder) {
  std::string text = folder ? folder : "";
  while (text.size() > 3 && (text.back() == '\\' || text.back() == '/')) text.pop_back();
  return text;
}

}  // namespace

namespace {

// Every step for the local Users group: the settings key and each data file.
DWORD PrepareUsers(const char* programFolder) {
  const std::string folder = FolderWithoutSlash(programFolder);
  if (folder.empty()) return ERROR_INVALID_PARAMETER;
  FirstError first;
  first.Take(CreateKey(settings::kProductKeyPath));
  const bool rights = !win::IsWindows9x();
  if (rights) first.Take(win::GrantUsersOnKey(HKEY_LOCAL_MACHINE, settings::kProductKeyPath, {kUsersKeyRights, true}));
  for (const char* name : settings::kDataFiles) {
    const std::string path = folder + "\\" + name;
    const DWORD created = win::CreateFileIfMissing(path);
    first.Take(created);
    if (rights && created == ERROR_SUCCESS) first.Take(win::GrantUsersOnFile(path, kUsersFileRights));
  }
  return first.get();
}

// Vista and later: what the helper in Protected Mode needs.
DWORD PrepareProtectedMode(const char* programFolder) {
  const std::string folder = FolderWithoutSlash(programFolder);
  if (folder.empty()) return ERROR_INVALID_PARAMETER;
  if (win::IsWindows9x() || !win::HasIntegrityLevels()) return ERROR_SUCCESS;
  FirstError first;
  first.Take(win::SetLowLabelOnKey(HKEY_LOCAL_MACHINE, settings::kProductKeyPath));
  first.Take(WriteElevationPolicy(folder));
  return first.get();
}

// The calls above allocate; setup is built without exceptions, where an allocation failure
// ends the program instead.
template <typename Step>
DWORD Guarded(Step step, const char* programFolder) noexcept {
#if defined(__cpp_exceptions)
  try {
    return step(programFolder);
  } catch (...) {
    return ERROR_NOT_ENOUGH_MEMORY;
  }
#else
  return step(programFolder);
#endif
}

}  // namespace

DWORD PrepareUsersForSettingsAndLists(const char* programFolder) noexcept {
  return Guarded(PrepareUsers, programFolder);
}

DWORD PrepareForProtectedMode(const char* programFolder) noexcept {
  return Guarded(PrepareProtectedMode, programFolder);
}

DWORD PrepareForEveryAccount(const char* programFolder) noexcept {
  const DWORD users = PrepareUsersForSettingsAndLists(programFolder);
  const DWORD protectedMode = PrepareForProtectedMode(programFolder);
  return users != ERROR_SUCCESS ? users : protectedMode;
}

DWORD RemoveAccountSteps() noexcept {
  const LONG rc = win::DeleteKeyTree(HKEY_LOCAL_MACHINE, kElevationPolicyKey);
  return rc == ERROR_FILE_NOT_FOUND || rc == ERROR_PATH_NOT_FOUND ? ERROR_SUCCESS : static_cast<DWORD>(rc);
}

DWORD RevokeUsersOnSettingsKey() noexcept {
  if (win::IsWindows9x()) return ERROR_SUCCESS;
#if defined(__cpp_exceptions)
  try {
    return win::RevokeUsersOnKey(HKEY_LOCAL_MACHINE, settings::kProductKeyPath, true);
  } catch (...) {
    return ERROR_NOT_ENOUGH_MEMORY;
  }
#else
  return win::RevokeUsersOnKey(HKEY_LOCAL_MACHINE, settings::kProductKeyPath, true);
#endif
}

}  // namespace vexbane::accountsteps
