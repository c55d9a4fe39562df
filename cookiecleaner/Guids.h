// Identifiers of the cookie-cleaning component: class, interface, type library and ProgID.
#pragma once
#include <windows.h>

#include "win/guid.h"

namespace vexbane::cookiecleaner {

inline const CLSID kClsidCleaner = win::ToGuid(ids::kClsidCookieCleaner);
inline const IID kIidCookieCleaner = win::ToGuid(ids::kIidCookieCleaner);
// {A91432A8-278E-48BD-8523-8ED4712DDB37}
inline const GUID kLibidCookieCleaner = {0xA91432A8, 0x278E, 0x48BD, {0x85, 0x23, 0x8E, 0xD4, 0x71, 0x2D, 0xDB, 0x37}};

inline constexpr char kClsidText[] = "{F0C52155-37F1-4866-B3E7-5388E9CA4515}";
inline constexpr char kLibidText[] = "{A91432A8-278E-48BD-8523-8ED4712DDB37}";
inline constexpr char kProgId[] = "CookieCleaner.Cleaner";
inline constexpr WORD kTypeLibMajor = 1;
inline constexpr WORD kTypeLibMinor = 0;

}  // namespace vexbane::cookiecleaner
