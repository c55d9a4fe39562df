// Feeds arbitrary shell-folder texts to the cookie folder's text rule and its resolved-folder check.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/cookiecleaner_rules.h"
#include "core/text.h"

using vexbane::cookiecleaner::CheckResolvedCookieFolder;
using vexbane::cookiecleaner::CookieFolderFromRegistryText;
using vexbane::cookiecleaner::FolderVerdict;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  // The first line is the registry's text; the rest, line by line, the protected folders.
  const size_t lineEnd = input.find('\n');
  const std::string_view text = input.substr(0, lineEnd);
  std::vector<std::string> protectedForms;
  for (size_t start = lineEnd; start != std::string_view::npos && start < input.size();) {
    size_t end = input.find('\n', start + 1);
    protectedForms.emplace_back(input.substr(start + 1, end == std::string_view::npos ? end : end - start - 1));
    start = end;
  }

  std::optional<std::string> folder = CookieFolderFromRegistryText(text);
  if (folder) {
    if (folder->empty() || folder->back() == '\\' || folder->find('/') != std::string::npos ||
        folder->find('\0') != std::string::npos || folder->size() > text.size())
      __builtin_trap();
  }
  const std::string candidate = folder.value_or(std::string(text));
  const FolderVerdict verdict = CheckResolvedCookieFolder({candidate}, protectedForms);
  // Letter case never changes the verdict.
  if (CheckResolvedCookieFolder({vexbane::ToUpper(candidate)}, protectedForms) != verdict) __builtin_trap();
  // A folder is never usable when it is itself protected, nor when any of its spellings is.
  if (CheckResolvedCookieFolder({candidate}, {candidate}) == FolderVerdict::kUsable) __builtin_trap();
  if (!protectedForms.empty() &&
      CheckResolvedCookieFolder({candidate, protectedForms.front()}, protectedForms) == FolderVerdict::kUsable)
    __builtin_trap();
  // A usable folder stays usable one level down, and refuses the protected folder beneath it.
  if (verdict == FolderVerdict::kUsable) {
    const std::string inner = candidate + "\\Cookies";
    if (CheckResolvedCookieFolder({inner}, protectedForms) != FolderVerdict::kUsable) __builtin_trap();
    if (CheckResolvedCookieFolder({candidate}, {inner}) != FolderVerdict::kProtected) __builtin_trap();
  }
  return 0;
}
