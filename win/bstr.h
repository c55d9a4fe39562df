// Text across COM: an owner for BSTRs and their ANSI conversions.
#pragma once
#include <windows.h>
#include <oleauto.h>

#include <string>

#include "win/unique.h"

namespace vexbane::win {

// One BSTR, freed exactly once; put() hands out the slot of an [out] BSTR parameter.
struct BstrTraits {
  using Handle = BSTR;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle h) noexcept { ::SysFreeString(h); }
};
using UniqueBstr = Unique<BstrTraits>;

// The BSTR's text in the ANSI code page; empty for a null BSTR.
std::string AnsiFromBstr(BSTR s);
// The same into `out`, whose storage is reused: an address read at every page visit.
void AssignAnsiFromBstr(BSTR s, std::string& out);

// A new BSTR holding `text` (ANSI code page); empty owner when out of memory.
UniqueBstr BstrFromAnsi(const std::string& text);

}  // namespace vexbane::win
