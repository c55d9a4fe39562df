// Users' entries and the low label on keys and files, through advapi32 loaded at run time.
#include "win/account_access.h"

#include <cstring>
#include <vector>

#include "win/version.h"

namespace vexbane::win {
namespace {

// S-1-5-32-545 (BUILTIN\Users) and S-1-16-4096 (the Low mandatory level), laid out as SIDs are.
struct Sid2 {
  BYTE revision, count, authority[6];
  DWORD sub[2];
};
struct Sid1 {
  BYTE revision, count, authority[6];
  DWORD sub[1];
};
const Sid2 kUsersSid = {1, 2, {0, 0, 0, 0, 0, 5}, {32, 545}};
const Sid1 kLowLabelSid = {1, 1, {0, 0, 0, 0, 0, 16}, {0x1000}};

constexpr BYTE kAllowType = 0;          // ACCESS_ALLOWED_ACE_TYPE
constexpr BYTE kMandatoryLabelType = 0x11;  // SYSTEM_MANDATORY_LABEL_ACE_TYPE
constexpr BYTE kInheritedAce = 0x10;    // INHERITED_ACE
constexpr BYTE kSubkeyInheritance = 0x02;  // CONTAINER_INHERIT_ACE
constexpr BYTE kInheritanceFlags = 0x0F;   // OBJECT_, CONTAINER_, NO_PROPAGATE_, INHERIT_ONLY_
constexpr DWORD kNoWriteUp = 0x1;       // SYSTEM_MANDATORY_LABEL_NO_WRITE_UP
constexpr DWORD kLabelInformation = 0x10;  // LABEL_SECURITY_INFORMATION
constexpr DWORD kAclRevision = 2;

// The advapi32 calls, loaded once per process from the loaded advapi32 (every program of the
// product imports it for the registry) or from the system folder.
struct Advapi {
  using RegGetKeySecurityFn = LONG(WINAPI*)(HKEY, SECURITY_INFORMATION, PSECURITY_DESCRIPTOR, LPDWORD);
  using RegSetKeySecurityFn = LONG(WINAPI*)(HKEY, SECURITY_INFORMATION, PSECURITY_DESCRIPTOR);
  using GetFileSecurityFn = BOOL(WINAPI*)(LPCSTR, SECURITY_INFORMATION, PSECURITY_DESCRIPTOR, DWORD, LPDWORD);
  using SetFileSecurityFn = BOOL(WINAPI*)(LPCSTR, SECURITY_INFORMATION, PSECURITY_DESCRIPTOR);
  using InitializeSdFn = BOOL(WINAPI*)(PSECURITY_DESCRIPTOR, DWORD);
  using GetAclFn = BOOL(WINAPI*)(PSECURITY_DESCRIPTOR, LPBOOL, PACL*, LPBOOL);
  using SetAclFn = BOOL(WINAPI*)(PSECURITY_DESCRIPTOR, BOOL, PACL, BOOL);
  using InitializeAclFn = BOOL(WINAPI*)(PACL, DWORD, DWORD);
  using AddAceFn = BOOL(WINAPI*)(PACL, DWORD, DWORD, LPVOID, DWORD);

  RegGetKeySecurityFn regGetKeySecurity = nullptr;
  RegSetKeySecurityFn regSetKeySecurity = nullptr;
  GetFileSecurityFn getFileSecurity = nullptr;
  SetFileSecurityFn setFileSecurity = nullptr;
  InitializeSdFn initializeSd = nullptr;
  GetAclFn getDacl = nullptr;
  SetAclFn setDacl = nullptr;
  GetAclFn getSacl = nullptr;
  SetAclFn setSacl = nullptr;
  InitializeAclFn initializeAcl = nullptr;
  AddAceFn addAce = nullptr;

  bool Complete() const noexcept {
    return regGetKeySecurity && regSetKeySecurity && getFileSecurity && setFileSecurity && initializeSd && getDacl &&
           setDacl && getSacl && setSacl && initializeAcl && addAce;
  }
};

HMODULE SystemAdvapi() noexcept {
  HMODULE module = ::GetModuleHandleA("advapi32.dll");
  if (module) return module;
  char folder[MAX_PATH + 1] = {};
  const UINT n = ::GetSystemDirectoryA(folder, MAX_PATH);
  if (n == 0 || n >= MAX_PATH - 16) return nullptr;
  return ::LoadLibraryA((std::string(folder, n) + "\\advapi32.dll").c_str());
}

template <typename Fn>
void Load(HMODULE module, const char* name, Fn& fn) noexcept {
  fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

// Null on the 95 family, whose advapi32 has the registry but answers none of the security calls.
const Advapi* Calls() noexcept {
  static Advapi calls;
  static bool loaded = false;
  if (IsWindows9x()) return nullptr;
  if (!loaded) {
    loaded = true;
    if (HMODULE module = SystemAdvapi()) {
      Load(module, "RegGetKeySecurity", calls.regGetKeySecurity);
      Load(module, "RegSetKeySecurity", calls.regSetKeySecurity);
      Load(module, "GetFileSecurityA", calls.getFileSecurity);
      Load(module, "SetFileSecurityA", calls.setFileSecurity);
      Load(module, "InitializeSecurityDescriptor", calls.initializeSd);
      Load(module, "GetSecurityDescriptorDacl", calls.getDacl);
      Load(module, "SetSecurityDescriptorDacl", calls.setDacl);
      Load(module, "GetSecurityDescriptorSacl", calls.getSacl);
      Load(module, "SetSecurityDescriptorSacl", calls.setSacl);
      Load(module, "InitializeAcl", calls.initializeAcl);
      Load(module, "AddAce", calls.addAce);
    }
  }
  return calls.Complete() ? &calls : nullptr;
}

DWORD LastErrorOr(DWORD fallback) noexcept {
  const DWORD rc = ::GetLastError();
  return rc != ERROR_SUCCESS ? rc : fallback;
}

// One ACE as it lies in an ACL: header, mask, SID.
struct AceView {
  BYTE type = 0, flags = 0;
  WORD size = 0;
  DWORD mask = 0;
  const BYTE* sid = nullptr;
  DWORD sidLength = 0;
  const BYTE* bytes = nullptr;
};

std::vector<AceView> AcesOf(const ACL* acl) {
  std::vector<AceView> aces;
  if (!acl) return aces;
  const BYTE* at = reinterpret_cast<const BYTE*>(acl) + sizeof(ACL);
  const BYTE* end = reinterpret_cast<const BYTE*>(acl) + acl->AclSize;
  for (WORD i = 0; i < acl->AceCount && at + 8 <= end; ++i) {
    AceView ace;
    ace.type = at[0];
    ace.flags = at[1];
    std::memcpy(&ace.size, at + 2, sizeof ace.size);
    if (ace.size < 8 || at + ace.size > end) break;
    std::memcpy(&ace.mask, at + 4, sizeof ace.mask);
    ace.bytes = at;
    ace.sid = at + 8;
    ace.sidLength = ace.size - 8;
    aces.push_back(ace);
    at += ace.size;
  }
  return aces;
}

template <typename Sid>
bool IsSid(const AceView& ace, const Sid& sid) noexcept {
  const DWORD length = 8 + 4 * sid.count;
  return ace.sidLength >= length && std::memcmp(ace.sid, &sid, length) == 0;
}

BYTE GrantFlags(bool inheritedBySubkeys) noexcept { return inheritedBySubkeys ? kSubkeyInheritance : 0; }

// An explicit allow entry for Users with exactly these inheritance flags: one of ours.
bool IsOurGrant(const AceView& ace, BYTE flags) noexcept {
  return ace.type == kAllowType && !(ace.flags & kInheritedAce) && (ace.flags & kInheritanceFlags) == flags &&
         IsSid(ace, kUsersSid);
}

// An ACE holding a SID, as bytes.
template <typename Sid>
std::vector<BYTE> MakeAce(BYTE type, BYTE flags, DWORD mask, const Sid& sid) {
  const WORD size = static_cast<WORD>(8 + 8 + 4 * sid.count);
  std::vector<BYTE> ace(size);
  ace[0] = type;
  ace[1] = flags;
  std::memcpy(&ace[2], &size, sizeof size);
  std::memcpy(&ace[4], &mask, sizeof mask);
  std::memcpy(&ace[8], &sid, size - 8);
  return ace;
}

// A security descriptor read from the system, sized as it asks.
class ReadDescriptor {
 public:
  template <typename Read>
  DWORD Fill(Read read) {
    DWORD size = 256;
    for (int attempt = 0; attempt < 3; ++attempt) {
      m_bytes.assign(size, 0);
      DWORD needed = size;
      const DWORD rc = read(m_bytes.data(), size, needed);
      if (rc == ERROR_SUCCESS) return rc;
      if (rc != ERROR_INSUFFICIENT_BUFFER || needed <= size) return rc;
      size = needed;
    }
    return ERROR_INSUFFICIENT_BUFFER;
  }
  PSECURITY_DESCRIPTOR get() { return m_bytes.data(); }

 private:
  std::vector<BYTE> m_bytes;
};

DWORD ReadKeyDescriptor(const Advapi& api, HKEY root, const char* subKey, SECURITY_INFORMATION what,
                        ReadDescriptor& sd) {
  HKEY key = nullptr;
  const REGSAM access = READ_CONTROL | (what & SACL_SECURITY_INFORMATION ? ACCESS_SYSTEM_SECURITY : 0);
  LONG rc = ::RegOpenKeyExA(root, subKey, 0, access, &key);
  if (rc != ERROR_SUCCESS) return static_cast<DWORD>(rc);
  rc = static_cast<LONG>(sd.Fill([&](PSECURITY_DESCRIPTOR buffer, DWORD size, DWORD& needed) {
    needed = size;
    return static_cast<DWORD>(api.regGetKeySecurity(key, what, buffer, &needed));
  }));
  ::RegCloseKey(key);
  return static_cast<DWORD>(rc);
}

DWORD ReadFileDescriptor(const Advapi& api, const std::string& path, ReadDescriptor& sd) {
  return sd.Fill([&](PSECURITY_DESCRIPTOR buffer, DWORD size, DWORD& needed) -> DWORD {
    if (api.getFileSecurity(path.c_str(), DACL_SECURITY_INFORMATION, buffer, size, &needed)) return ERROR_SUCCESS;
    return LastErrorOr(ERROR_ACCESS_DENIED);
  });
}

// The DACL of a descriptor; `present` false when it has none (everyone may do everything).
DWORD DaclOf(const Advapi& api, PSECURITY_DESCRIPTOR sd, bool& present, ACL*& dacl) {
  BOOL has = FALSE, defaulted = FALSE;
  dacl = nullptr;
  if (!api.getDacl(sd, &has, &dacl, &defaulted)) return LastErrorOr(ERROR_INVALID_SECURITY_DESCR);
  present = has && dacl;
  return ERROR_SUCCESS;
}

// The old DACL with our entries for Users dropped and, when `add` is not empty, it put after
// the explicit entries and before the inherited ones (the order Windows checks them in).
DWORD RebuildDacl(const Advapi& api, const ACL* old, BYTE flags, const std::vector<BYTE>& add,
                  std::vector<BYTE>& out) {
  const std::vector<AceView> aces = AcesOf(old);
  DWORD size = sizeof(ACL) + static_cast<DWORD>(add.size());
  for (const AceView& ace : aces)
    if (!IsOurGrant(ace, flags)) size += ace.size;
  size = (size + 3) & ~3u;
  out.assign(size, 0);
  ACL* acl = reinterpret_cast<ACL*>(out.data());
  if (!api.initializeAcl(acl, size, kAclRevision)) return LastErrorOr(ERROR_INVALID_ACL);
  auto append = [&](const BYTE* bytes, DWORD length) {
    return api.addAce(acl, kAclRevision, MAXDWORD, const_cast<BYTE*>(bytes), length) != FALSE;
  };
  bool placed = add.empty();
  for (const AceView& ace : aces) {
    if (IsOurGrant(ace, flags)) continue;
    if (!placed && (ace.flags & kInheritedAce)) {
      if (!append(add.data(), static_cast<DWORD>(add.size()))) return LastErrorOr(ERROR_INVALID_ACL);
      placed = true;
    }
    if (!append(ace.bytes, ace.size)) return LastErrorOr(ERROR_INVALID_ACL);
  }
  if (!placed && !append(add.data(), static_cast<DWORD>(add.size()))) return LastErrorOr(ERROR_INVALID_ACL);
  return ERROR_SUCCESS;
}

// The descriptor's DACL rebuilt by RebuildDacl; `present` false, and nothing built, when the
// descriptor has no DACL (everyone may do everything already).
DWORD RebuildDaclOf(const Advapi& api, PSECURITY_DESCRIPTOR sd, BYTE flags, const std::vector<BYTE>& add,
                    bool& present, std::vector<BYTE>& out) {
  ACL* old = nullptr;
  const DWORD rc = DaclOf(api, sd, present, old);
  if (rc != ERROR_SUCCESS || !present) return rc;
  return RebuildDacl(api, old, flags, add, out);
}

// A descriptor holding only this DACL, as the set calls take it.
DWORD DescriptorWithDacl(const Advapi& api, std::vector<BYTE>& dacl, SECURITY_DESCRIPTOR& sd) {
  if (!api.initializeSd(&sd, SECURITY_DESCRIPTOR_REVISION)) return LastErrorOr(ERROR_INVALID_SECURITY_DESCR);
  if (!api.setDacl(&sd, TRUE, reinterpret_cast<ACL*>(dacl.data()), FALSE))
    return LastErrorOr(ERROR_INVALID_SECURITY_DESCR);
  return ERROR_SUCCESS;
}

DWORD WriteKeyDacl(const Advapi& api, HKEY root, const char* subKey, std::vector<BYTE>& dacl) {
  SECURITY_DESCRIPTOR sd;
  DWORD rc = DescriptorWithDacl(api, dacl, sd);
  if (rc != ERROR_SUCCESS) return rc;
  HKEY key = nullptr;
  rc = static_cast<DWORD>(::RegOpenKeyExA(root, subKey, 0, WRITE_DAC, &key));
  if (rc != ERROR_SUCCESS) return rc;
  rc = static_cast<DWORD>(api.regSetKeySecurity(key, DACL_SECURITY_INFORMATION, &sd));
  ::RegCloseKey(key);
  return rc;
}

// Our entry on the key: dropped when `add` is empty, else put in place of any earlier one.
DWORD ChangeKeyGrant(HKEY root, const char* subKey, bool inheritedBySubkeys, const std::vector<BYTE>& add) {
  const Advapi* api = Calls();
  if (!api) return kNoAccessRights;
  ReadDescriptor sd;
  DWORD rc = ReadKeyDescriptor(*api, root, subKey, DACL_SECURITY_INFORMATION, sd);
  if (rc != ERROR_SUCCESS) return rc;
  bool present = false;
  std::vector<BYTE> dacl;
  rc = RebuildDaclOf(*api, sd.get(), GrantFlags(inheritedBySubkeys), add, present, dacl);
  if (rc != ERROR_SUCCESS || !present) return rc;
  return WriteKeyDacl(*api, root, subKey, dacl);
}

DWORD RightsIn(const ACL* dacl, BYTE flags) {
  DWORD rights = 0;
  for (const AceView& ace : AcesOf(dacl))
    if (IsOurGrant(ace, flags)) rights |= ace.mask;
  return rights;
}

}  // namespace

bool HasIntegrityLevels() noexcept { return IsVistaOrLater(); }

DWORD GrantUsersOnKey(HKEY root, const char* subKey, const UsersGrant& grant) {
  const BYTE flags = GrantFlags(grant.inheritedBySubkeys);
  return ChangeKeyGrant(root, subKey, grant.inheritedBySubkeys, MakeAce(kAllowType, flags, grant.access, kUsersSid));
}

DWORD RevokeUsersOnKey(HKEY root, const char* subKey, bool inheritedBySubkeys) {
  return ChangeKeyGrant(root, subKey, inheritedBySubkeys, {});
}

DWORD GrantUsersOnFile(const std::string& path, DWORD access) {
  const Advapi* api = Calls();
  if (!api) return kNoAccessRights;
  ReadDescriptor sd;
  DWORD rc = ReadFileDescriptor(*api, path, sd);
  if (rc != ERROR_SUCCESS) return rc;
  bool present = false;
  std::vector<BYTE> dacl;
  rc = RebuildDaclOf(*api, sd.get(), 0, MakeAce(kAllowType, 0, access, kUsersSid), present, dacl);
  if (rc != ERROR_SUCCESS || !present) return rc;
  SECURITY_DESCRIPTOR next;
  rc = DescriptorWithDacl(*api, dacl, next);
  if (rc != ERROR_SUCCESS) return rc;
  return api->setFileSecurity(path.c_str(), DACL_SECURITY_INFORMATION, &next) ? ERROR_SUCCESS
                                                                               : LastErrorOr(ERROR_ACCESS_DENIED);
}

DWORD UsersRightsOnKey(HKEY root, const char* subKey, bool inheritedBySubkeys) {
  const Advapi* api = Calls();
  ReadDescriptor sd;
  bool present = false;
  ACL* dacl = nullptr;
  if (!api || ReadKeyDescriptor(*api, root, subKey, DACL_SECURITY_INFORMATION, sd) != ERROR_SUCCESS ||
      DaclOf(*api, sd.get(), present, dacl) != ERROR_SUCCESS || !present)
    return 0;
  return RightsIn(dacl, GrantFlags(inheritedBySubkeys));
}

DWORD UsersRightsOnFile(const std::string& path) {
  const Advapi* api = Calls();
  ReadDescriptor sd;
  bool present = false;
  ACL* dacl = nullptr;
  if (!api || ReadFileDescriptor(*api, path, sd) != ERROR_SUCCESS ||
      DaclOf(*api, sd.get(), present, dacl) != ERROR_SUCCESS || !present)
    return 0;
  return RightsIn(dacl, 0);
}

DWORD SetLowLabelOnKey(HKEY root, const char* subKey) {
  const Advapi* api = Calls();
  if (!api || !HasIntegrityLevels()) return kNoAccessRights;
  // The label replaces any earlier one: setting it twice leaves one.
  std::vector<BYTE> ace = MakeAce(kMandatoryLabelType, kSubkeyInheritance, kNoWriteUp, kLowLabelSid);
  std::vector<BYTE> sacl((sizeof(ACL) + ace.size() + 3) & ~size_t{3});
  ACL* acl = reinterpret_cast<ACL*>(sacl.data());
  if (!api->initializeAcl(acl, static_cast<DWORD>(sacl.size()), kAclRevision)) return LastErrorOr(ERROR_INVALID_ACL);
  if (!api->addAce(acl, kAclRevision, MAXDWORD, ace.data(), static_cast<DWORD>(ace.size())))
    return LastErrorOr(ERROR_INVALID_ACL);
  SECURITY_DESCRIPTOR sd;
  if (!api->initializeSd(&sd, SECURITY_DESCRIPTOR_REVISION)) return LastErrorOr(ERROR_INVALID_SECURITY_DESCR);
  if (!api->setSacl(&sd, TRUE, acl, FALSE)) return LastErrorOr(ERROR_INVALID_SECURITY_DESCR);
  HKEY key = nullptr;
  // WRITE_OWNER is the right that a label needs; an administrator holds it.
  DWORD rc = static_cast<DWORD>(::RegOpenKeyExA(root, subKey, 0, WRITE_OWNER, &key));
  if (rc != ERROR_SUCCESS) return rc;
  rc = static_cast<DWORD>(api->regSetKeySecurity(key, kLabelInformation, &sd));
  ::RegCloseKey(key);
  return rc;
}

bool KeyHasLowLabel(HKEY root, const char* subKey) {
  const Advapi* api = Calls();
  if (!api) return false;
  ReadDescriptor sd;
  if (ReadKeyDescriptor(*api, root, subKey, kLabelInformation, sd) != ERROR_SUCCESS) return false;
  BOOL has = FALSE, defaulted = FALSE;
  ACL* sacl = nullptr;
  if (!api->getSacl(sd.get(), &has, &sacl, &defaulted) || !has) return false;
  for (const AceView& ace : AcesOf(sacl))
    if (ace.type == kMandatoryLabelType && IsSid(ace, kLowLabelSid) && (ace.mask & kNoWriteUp)) return true;
  return false;
}

}  // namespace vexbane::win
