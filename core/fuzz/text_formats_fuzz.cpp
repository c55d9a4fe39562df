// Feeds arbitrary bytes to the allow-list, keep-list, cookie-name and number parsers.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/allow_list.h"
#include "core/cookies.h"
#include "core/text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  auto entries = vexbane::ParseAllowList(text);
  // Whatever was read must survive a rewrite and a second read unchanged.
  if (vexbane::ParseAllowList(vexbane::FormatAllowList(entries)) != entries) __builtin_trap();
  vexbane::AllowListMatches(entries, text);
  std::string name = vexbane::CookieNameFromFileName(text);
  if (name.size() > text.size()) __builtin_trap();
  vexbane::KeepListContains(vexbane::FirstLine(text), name);
  vexbane::IsCookieIndexFile(text);
  vexbane::ToInt16(text);
  vexbane::ToInt32(text);
  return 0;
}
