// The steps for every account against the real registry and files: what Wine keeps of them.
// Wine runs the suite as an administrator and keeps a key's security descriptor as set; a
// file's DACL it maps onto the Unix mode bits, so an entry for Users does not stay on a file.
#include "AccountSteps.h"

#include <gtest/gtest.h>

#include <iostream>
#include <vector>

#include "core/settings.h"
#include "testsupport/registry_fixture.h"
#include "win/account_access.h"
#include "win/version.h"

namespace vexbane::accountsteps {
namespace {

using vexbane::testing::ScopedFolder;
using vexbane::testing::ScopedProductKey;

// S-1-5-32-545, as the suite builds it itself.
struct UsersSid {
  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  PSID sid = nullptr;
  UsersSid() {
    ::AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_USERS, 0, 0, 0, 0, 0, 0, &sid);
  }
  ~UsersSid() { ::FreeSid(sid); }
};

struct AceSeen {
  BYTE type, flags;
  DWORD mask;
  bool users;
};

// The key's DACL entry by entry, read with the system's own calls.
std::vector<AceSeen> KeyDacl(const char* path) {
  std::vector<AceSeen> seen;
  HKEY key = nullptr;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, READ_CONTROL, &key) != ERROR_SUCCESS) return seen;
  std::vector<BYTE> sd(4096);
  DWORD size = static_cast<DWORD>(sd.size());
  const LONG rc = ::RegGetKeySecurity(key, DACL_SECURITY_INFORMATION, sd.data(), &size);
  ::RegCloseKey(key);
  if (rc != ERROR_SUCCESS) return seen;
  BOOL present = FALSE, defaulted = FALSE;
  PACL dacl = nullptr;
  if (!::GetSecurityDescriptorDacl(sd.data(), &present, &dacl, &defaulted) || !present || !dacl) return seen;
  UsersSid users;
  for (DWORD i = 0; i < dacl->AceCount; ++i) {
    void* raw = nullptr;
    if (!::GetAce(dacl, i, &raw)) break;
    auto* ace = static_cast<ACCESS_ALLOWED_ACE*>(raw);
    const bool isUsers = ::EqualSid(&ace->SidStart, users.sid) != FALSE;
    seen.push_back({ace->Header.AceType, ace->Header.AceFlags, ace->Mask, isUsers});
  }
  return seen;
}

// Explicit allow entries for Users that subkeys inherit: the kind the steps add.
int UsersGrants(const std::vector<AceSeen>& dacl) {
  int n = 0;
  for (const AceSeen& ace : dacl)
    if (ace.users && ace.type == ACCESS_ALLOWED_ACE_TYPE && (ace.flags & (INHERITED_ACE | 0x0F)) == CONTAINER_INHERIT_ACE)
      ++n;
  return n;
}

// Wine refuses every mandatory label on a key (ERROR_INVALID_PARAMETER, also for one made by
// its own SDDL parser); only a real Vista or 7 shows the label taken.
bool UnderWine() { return ::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr; }

// What the steps give where Wine cannot take the label: the label's own refusal, every other
// step done.
DWORD ExpectedPrepareResult() {
  if (win::HasIntegrityLevels() && UnderWine()) return ERROR_INVALID_PARAMETER;
  return ERROR_SUCCESS;
}

class AccountStepsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    vexbane::testing::DeleteKeyTree(HKEY_LOCAL_MACHINE, kElevationPolicyKey);
  }
  void TearDown() override { vexbane::testing::DeleteKeyTree(HKEY_LOCAL_MACHINE, kElevationPolicyKey); }
  ScopedProductKey m_key;
  ScopedFolder m_folder{"vexbane account steps"};
};

TEST_F(AccountStepsTest, UsersMayReadAndWriteTheSettingsKeyByOneEntryForItAndItsSubkeys) {
  m_key.Set("Popup", "2");
  const size_t before = KeyDacl(settings::kProductKeyPath).size();
  ASSERT_EQ(PrepareForEveryAccount(m_folder.path().c_str()), ExpectedPrepareResult());
  if (win::IsWindows9x()) {
    // No access rights: nothing to grant, nothing asked of advapi32's security calls.
    EXPECT_EQ(win::GrantUsersOnKey(HKEY_LOCAL_MACHINE, settings::kProductKeyPath, {kUsersKeyRights, true}),
              win::kNoAccessRights);
    return;
  }
  const auto once = KeyDacl(settings::kProductKeyPath);
  ASSERT_EQ(UsersGrants(once), 1);
  EXPECT_EQ(once.size(), before + 1) << "every other entry stays";
  for (const AceSeen& ace : once) {
    if (!ace.users || (ace.flags & (INHERITED_ACE | 0x0F)) != CONTAINER_INHERIT_ACE) continue;
    EXPECT_EQ(ace.mask, kUsersKeyRights);
    EXPECT_EQ(ace.mask & (DELETE | WRITE_DAC | WRITE_OWNER), 0u);
    EXPECT_EQ(ace.mask & (KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_ENUMERATE_SUB_KEYS),
              static_cast<DWORD>(KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_ENUMERATE_SUB_KEYS));
  }
  // A reinstall: the same entries, no second grant.
  ASSERT_EQ(PrepareForEveryAccount(m_folder.path().c_str()), ExpectedPrepareResult());
  const auto twice = KeyDacl(settings::kProductKeyPath);
  EXPECT_EQ(UsersGrants(twice), 1);
  EXPECT_EQ(twice.size(), once.size());
  EXPECT_EQ(m_key.Get("Popup"), "2") << "the settings stay";

  // The entry is marked for subkeys (UsersGrants counts only those). Wine gives a new subkey
  // its default descriptor instead of the parent's inheritable entries, so that subkeys
  // inherit it is left to a real Windows.

  // A rollback that keeps the key takes the entry off again, and only it.
  EXPECT_EQ(RevokeUsersOnSettingsKey(), static_cast<DWORD>(ERROR_SUCCESS));
  const auto revoked = KeyDacl(settings::kProductKeyPath);
  EXPECT_EQ(UsersGrants(revoked), 0);
  EXPECT_EQ(revoked.size(), before);
}

TEST_F(AccountStepsTest, EveryDataFileIsThereAfterwardsAndNoneIsOverwritten) {
  m_folder.Write("WebSite.dat", "1\r\nkept.example\r\n");
  ASSERT_EQ(PrepareForEveryAccount(m_folder.path().c_str()), ExpectedPrepareResult());
  EXPECT_EQ(m_folder.Read("WebSite.dat"), "1\r\nkept.example\r\n");
  EXPECT_EQ(m_folder.Read("BlockedHost.dat"), "");
  EXPECT_EQ(m_folder.Read("IECookieURL.dat"), "");
  // A trailing backslash names the same folder.
  ASSERT_EQ(PrepareForEveryAccount((m_folder.path() + "\\").c_str()), ExpectedPrepareResult());
  EXPECT_EQ(m_folder.Read("WebSite.dat"), "1\r\nkept.example\r\n");
  EXPECT_EQ(PrepareForEveryAccount(""), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

// What Wine keeps of a file's Users entry: it maps the DACL onto the Unix mode bits, which have
// no place for a group of Windows accounts. The call is made and succeeds; the entry itself is
// only kept by a real NTFS volume.
TEST_F(AccountStepsTest, TheFileGrantIsMadeForEachFileAndNeverForTheFolder) {
  ASSERT_EQ(PrepareForEveryAccount(m_folder.path().c_str()), ExpectedPrepareResult());
  if (win::IsWindows9x()) {
    EXPECT_EQ(win::GrantUsersOnFile(m_folder.File("WebSite.dat"), kUsersFileRights), win::kNoAccessRights);
    return;
  }
  EXPECT_EQ(win::UsersRightsOnFile(m_folder.path()), 0u) << "the folder itself gets no Users entry";
  for (const char* name : settings::kDataFiles) {
    const DWORD rights = win::UsersRightsOnFile(m_folder.File(name));
    std::cout << name << ": Users entry as read back " << std::hex << rights << std::dec << std::endl;
    EXPECT_TRUE(rights == 0 || rights == kUsersFileRights) << name;
    EXPECT_EQ(win::GrantUsersOnFile(m_folder.File(name), kUsersFileRights), static_cast<DWORD>(ERROR_SUCCESS));
  }
}

TEST_F(AccountStepsTest, ProtectedModeStepsOnVistaAndLaterOnlyAndTheUninstallerRemovesThePolicy) {
  ASSERT_EQ(PrepareForEveryAccount(m_folder.path().c_str()), ExpectedPrepareResult());
  const bool vista = !win::IsWindows9x() && (::GetVersion() & 0xFF) >= 6;
  EXPECT_EQ(win::HasIntegrityLevels(), vista);
  std::string text;
  DWORD policy = 0;
  if (!vista) {
    EXPECT_FALSE(vexbane::testing::KeyExists(HKEY_LOCAL_MACHINE, kElevationPolicyKey));
    EXPECT_FALSE(win::KeyHasLowLabel(HKEY_LOCAL_MACHINE, settings::kProductKeyPath));
    EXPECT_EQ(RemoveAccountSteps(), static_cast<DWORD>(ERROR_SUCCESS));
    return;
  }
  ASSERT_TRUE(vexbane::testing::ReadRawString(HKEY_LOCAL_MACHINE, kElevationPolicyKey, "AppName", text));
  EXPECT_EQ(text, "VexbaneTray.exe");
  ASSERT_TRUE(vexbane::testing::ReadRawString(HKEY_LOCAL_MACHINE, kElevationPolicyKey, "AppPath", text));
  EXPECT_EQ(text, m_folder.path());
  ASSERT_TRUE(vexbane::testing::ReadRawDword(HKEY_LOCAL_MACHINE, kElevationPolicyKey, "Policy", policy));
  EXPECT_EQ(policy, 3u);
  EXPECT_EQ(win::KeyHasLowLabel(HKEY_LOCAL_MACHINE, settings::kProductKeyPath), !UnderWine());
  // Twice: still one policy, one label.
  ASSERT_EQ(PrepareForEveryAccount(m_folder.path().c_str()), ExpectedPrepareResult());
  EXPECT_EQ(win::KeyHasLowLabel(HKEY_LOCAL_MACHINE, settings::kProductKeyPath), !UnderWine());
  if (UnderWine())
    EXPECT_EQ(win::SetLowLabelOnKey(HKEY_LOCAL_MACHINE, settings::kProductKeyPath),
              static_cast<DWORD>(ERROR_INVALID_PARAMETER));

  EXPECT_EQ(RemoveAccountSteps(), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_FALSE(vexbane::testing::KeyExists(HKEY_LOCAL_MACHINE, kElevationPolicyKey));
  EXPECT_EQ(RemoveAccountSteps(), static_cast<DWORD>(ERROR_SUCCESS)) << "nothing left to remove is no failure";
}

}  // namespace
}  // namespace vexbane::accountsteps
