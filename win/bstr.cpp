// Text across COM: ANSI conversions of BSTRs.
#include "win/bstr.h"

namespace vexbane::win {

std::string AnsiFromBstr(BSTR s) {
  const int wide = static_cast<int>(::SysStringLen(s));
  if (!s || wide == 0) return std::string();
  int bytes = ::WideCharToMultiByte(CP_ACP, 0, s, wide, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return std::string();
  std::string out(static_cast<size_t>(bytes), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, s, wide, &out[0], bytes, nullptr, nullptr);
  return out;
}

void AssignAnsiFromBstr(BSTR s, std::string& out) {
  const int wide = static_cast<int>(::SysStringLen(s));
  int bytes = s && wide ? ::WideCharToMultiByte(CP_ACP, 0, s, wide, nullptr, 0, nullptr, nullptr) : 0;
  if (bytes <= 0) {
    out.clear();
    return;
  }
  out.resize(static_cast<size_t>(bytes));
  ::WideCharToMultiByte(CP_ACP, 0, s, wide, &out[0], bytes, nullptr, nullptr);
}

UniqueBstr BstrFromAnsi(const std::string& text) {
  const int bytes = static_cast<int>(text.size());
  int wide = bytes ? ::MultiByteToWideChar(CP_ACP, 0, text.data(), bytes, nullptr, 0) : 0;
  UniqueBstr out(::SysAllocStringLen(nullptr, static_cast<UINT>(wide)));
  if (out && wide) ::MultiByteToWideChar(CP_ACP, 0, text.data(), bytes, out.get(), wide);
  return out;
}

}  // namespace vexbane::win
