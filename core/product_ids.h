// Identifiers shared by several deliverables, kept free of Windows headers (layout of a GUID).
#pragma once
#include <cstdint>

namespace vexbane::ids {

struct Guid {
  uint32_t data1;
  uint16_t data2;
  uint16_t data3;
  uint8_t data4[8];
};

// The cookie-cleaning component: its class and its one interface (derived from IDispatch,
// first own method takes one BSTR).
// {F0C52155-37F1-4866-B3E7-5388E9CA4515}
inline constexpr Guid kClsidCookieCleaner = {0xF0C52155, 0x37F1, 0x4866, {0xB3, 0xE7, 0x53, 0x88, 0xE9, 0xCA, 0x45, 0x15}};
// {845C3874-E333-4303-A98E-718E133B7A76}
inline constexpr Guid kIidCookieCleaner = {0x845C3874, 0xE333, 0x4303, {0xA9, 0x8E, 0x71, 0x8E, 0x13, 0x3B, 0x7A, 0x76}};
// The code string that makes the component clean; any other string does nothing.
inline constexpr char kCookieCleanerCode[] = "VEXBANECLN";

// The shell's window collection.
// {9BA05972-F6A8-11CF-A442-00A0C90A8F39}
inline constexpr Guid kClsidShellWindows = {0x9BA05972, 0xF6A8, 0x11CF, {0xA4, 0x42, 0x00, 0xA0, 0xC9, 0x0A, 0x8F, 0x39}};

// The browser helper's class.
// {A09790E7-DD00-4A83-B632-5B563423CFBB}
inline constexpr Guid kClsidVexbaneHelper = {0xA09790E7, 0xDD00, 0x4A83, {0xB6, 0x32, 0x5B, 0x56, 0x34, 0x23, 0xCF, 0xBB}};

}  // namespace vexbane::ids
