// The installation steps that let every account of an NT-family machine use Vexbane: rights for
// the local Users group on the settings key and on each data file, and on Vista and later the
// key's low label and Internet Explorer's elevation policy for the tray program.
//
// For the setup program: call PrepareForEveryAccount after the files are copied and the settings
// key is written, and RemoveAccountSteps in the uninstaller. Both may run any number of times.
#pragma once
#include <windows.h>

namespace vexbane::accountsteps {

// The elevation policy's key under HKLM: Internet Explorer in Protected Mode starts the program it
// names at medium integrity without asking (Policy 3).
inline constexpr char kElevationPolicyKey[] =
    "Software\\Microsoft\\Internet Explorer\\Low Rights\\ElevationPolicy\\{A4EECC4B-7207-4995-9241-162BFA88D528}";
// What Users may do with the settings key and its subkeys: read, set values, create subkeys.
// Never delete, change the rights (WRITE_DAC) or take the key (WRITE_OWNER).
inline constexpr DWORD kUsersKeyRights = KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY;
// What Users may do with each data file: read and write it; not delete it or change its rights.
inline constexpr DWORD kUsersFileRights = FILE_GENERIC_READ | FILE_GENERIC_WRITE;


// Every step, for the program folder given (no trailing backslash needed). On the 95 family only
// the data files are created: there are no rights to grant. Each step runs whatever the earlier
// ones gave; the result is the first step's error, or ERROR_SUCCESS. Needs an administrator on
// the NT family. Steps: create the settings key if missing; grant Users kUsersKeyRights on it,
// inherited by subkeys; create each data file; grant Users kUsersFileRights on each file (never
// on the folder: a folder every user may write beside the helper DLL would let any user plant
// code into every user's browser); Vista and later: the low label with no-write-up on the key
// and the elevation policy for VexbaneTray.exe in this folder.
//
// Rollback: everything it does is safe to leave or to run again (a second run replaces its own
// entries rather than adding more). A setup that rolls back a fresh installation removes the
// folder and the settings key, which takes the grants and the label with them, and calls
// RemoveAccountSteps for the policy. A setup that rolls back an upgrade over an older
// installation may leave the grants (they only widen what Users may do with Vexbane's own key
// and files) or call RevokeUsersOnSettingsKey.
DWORD PrepareForEveryAccount(const char* programFolder) noexcept;

// The two halves of PrepareForEveryAccount, for a setup that runs them as steps of their own:
// the settings key's and the data files' rights for Users (without them a limited account can
// change nothing), and Vista's and later's label and elevation policy for Protected Mode
// (ERROR_SUCCESS where the system has no integrity levels).
DWORD PrepareUsersForSettingsAndLists(const char* programFolder) noexcept;
DWORD PrepareForProtectedMode(const char* programFolder) noexcept;

// The uninstaller's step: removes the elevation policy. The settings key and the files go with
// the uninstaller's own removal of them. ERROR_SUCCESS also when there was nothing to remove.
DWORD RemoveAccountSteps() noexcept;

// Takes the Users entry off the settings key again (for a rollback that keeps the key).
DWORD RevokeUsersOnSettingsKey() noexcept;

}  // namespace vexbane::accountsteps
