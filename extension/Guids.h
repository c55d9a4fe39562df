// Identifiers of the browser helper's type library, class and default interface, and of the
// browser interfaces it uses.
#pragma once
#include <windows.h>
#include <oaidl.h>

namespace vexbane::ext {

// {76FBCA5C-FD62-44E9-96A8-5E461E72764E}
inline constexpr GUID kLibidVexbaneIEDLL = {0x76fbca5c, 0xfd62, 0x44e9, {0x96, 0xa8, 0x5e, 0x46, 0x1e, 0x72, 0x76, 0x4e}};
// {A09790E7-DD00-4A83-B632-5B563423CFBB}
inline constexpr GUID kClsidCVexbaneIEDLL = {0xa09790e7, 0xdd00, 0x4a83, {0xb6, 0x32, 0x5b, 0x56, 0x34, 0x23, 0xcf, 0xbb}};
// {2C63C38B-A5AC-4784-9470-D8A993CCAE49}
inline constexpr GUID kIidCVexbaneIEDLL = {0x2c63c38b, 0xa5ac, 0x4784, {0x94, 0x70, 0xd8, 0xa9, 0x93, 0xcc, 0xae, 0x49}};

inline constexpr char kClsidText[] = "{A09790E7-DD00-4A83-B632-5B563423CFBB}";
inline constexpr char kLibidText[] = "{76FBCA5C-FD62-44E9-96A8-5E461E72764E}";
inline constexpr char kProgId[] = "VexbaneIEDLL.CVexbaneIEDLL";
inline constexpr char kHelperName[] = "Vexbane Pop-up Blocker";
inline constexpr WORD kTypeLibMajor = 5;
inline constexpr WORD kTypeLibMinor = 0;

// IWebBrowser2 {D30C1661-CDAF-11D0-8A3E-00C04FC9E26E}
inline constexpr GUID kIidIWebBrowser2 = {0xd30c1661, 0xcdaf, 0x11d0, {0x8a, 0x3e, 0x00, 0xc0, 0x4f, 0xc9, 0xe2, 0x6e}};
// DWebBrowserEvents2 {34A715A0-6587-11D0-924A-0020AFC7AC4D}
inline constexpr GUID kDiidDWebBrowserEvents2 = {0x34a715a0, 0x6587, 0x11d0, {0x92, 0x4a, 0x00, 0x20, 0xaf, 0xc7, 0xac, 0x4d}};

// Dispatch ids of the DWebBrowserEvents2 events the helper handles.
inline constexpr DISPID kDispidTitleChange = 113;
inline constexpr DISPID kDispidBeforeNavigate2 = 250;
inline constexpr DISPID kDispidNewWindow2 = 251;
inline constexpr DISPID kDispidOnQuit = 253;
inline constexpr DISPID kDispidNewWindow3 = 273;

}  // namespace vexbane::ext
