// Access for every account of the machine to a registry key or a file: entries for the local
// Users group, and the low mandatory label of Vista and later. NT family only.
//
// Every security call is loaded from advapi32 at run time: the 95 family has no access rights
// and its advapi32 lacks most of them, and nothing here may add an import to the programs.
// Users is named by its SID (S-1-5-32-545), never by a name, which is translated on every
// localized system.
#pragma once
#include <windows.h>

#include <string>

namespace vexbane::win {

// What the calls below report where access rights do not exist (the 95 family) or advapi32
// lacks a call: nothing was done and nothing needed to be.
inline constexpr DWORD kNoAccessRights = ERROR_CALL_NOT_IMPLEMENTED;

// Rights of an ACE for Users and whether subkeys inherit it.
struct UsersGrant {
  DWORD access = 0;
  bool inheritedBySubkeys = false;
};

// Adds to the DACL of HKEY `root`\`subKey` an entry allowing Users `grant.access` (inherited by
// subkeys created later when asked). Idempotent: an explicit allow entry for Users with the same
// inheritance is replaced by the new one, so running it again adds nothing; every other entry
// stays in its order. A key without a DACL (everyone may do everything) is left as it is.
// Subkeys that exist already keep their own DACL (the old security calls do not propagate).
// Returns ERROR_SUCCESS, the system's error, or kNoAccessRights.
DWORD GrantUsersOnKey(HKEY root, const char* subKey, const UsersGrant& grant);

// The same for one file (no inheritance).
DWORD GrantUsersOnFile(const std::string& path, DWORD access);

// Removes every explicit allow entry for Users that GrantUsersOnKey could have added (same
// inheritance): what a rollback of the grant needs. ERROR_SUCCESS when there was none.
DWORD RevokeUsersOnKey(HKEY root, const char* subKey, bool inheritedBySubkeys);

// The rights an explicit allow entry for Users gives on the key, with that inheritance: 0 when
// there is none. For tests and for checking an installation.
DWORD UsersRightsOnKey(HKEY root, const char* subKey, bool inheritedBySubkeys);
DWORD UsersRightsOnFile(const std::string& path);

// Sets the key's mandatory label to Low with no-write-up, inherited by subkeys: a process at
// low integrity (Internet Explorer's Protected Mode) may then write it, as far as its DACL
// lets it. Vista and later only: kNoAccessRights before (GetVersion below 6).
DWORD SetLowLabelOnKey(HKEY root, const char* subKey);

// True when the key's label is Low (S-1-16-4096). False when unreadable or none.
bool KeyHasLowLabel(HKEY root, const char* subKey);

// True on Vista and later (major version 6 or more), where integrity levels exist.
bool HasIntegrityLevels() noexcept;

}  // namespace vexbane::win
