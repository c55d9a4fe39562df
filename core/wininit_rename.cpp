// The [rename] section of WININIT.INI, edited as text.
#include "core/wininit_rename.h"

#include <vector>

#include "core/allow_list.h"
#include "core/text.h"

namespace vexbane {
namespace {

bool IsSectionHeader(std::string_view line) {
  std::string trimmed = Trim(line);
  return !trimmed.empty() && trimmed.front() == '[';
}

bool IsRenameHeader(std::string_view line) { return EqualsNoCase(Trim(line), "[rename]"); }

std::string Join(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

// Index of the [rename] header, or lines.size().
size_t RenameHeader(const std::vector<std::string>& lines) {
  for (size_t i = 0; i < lines.size(); ++i)
    if (IsRenameHeader(lines[i])) return i;
  return lines.size();
}

}  // namespace

bool HasWininitRenameLine(std::string_view text, std::string_view line) {
  std::vector<std::string> lines = SplitLines(text);
  for (size_t i = RenameHeader(lines) + 1; i < lines.size() && !IsSectionHeader(lines[i]); ++i)
    if (EqualsNoCase(Trim(lines[i]), line)) return true;
  return false;
}

std::string AddWininitRenameLine(std::string_view text, std::string_view line) {
  std::vector<std::string> lines = SplitLines(text);
  if (HasWininitRenameLine(text, line)) return Join(lines);
  size_t header = RenameHeader(lines);
  if (header == lines.size()) {
    lines.push_back("[rename]");
    lines.emplace_back(line);
    return Join(lines);
  }
  size_t end = header + 1;
  while (end < lines.size() && !IsSectionHeader(lines[end])) ++end;
  // After the section's last non-blank line, so that a blank line before the next section stays.
  size_t at = end;
  while (at > header + 1 && Trim(lines[at - 1]).empty()) --at;
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), std::string(line));
  return Join(lines);
}

std::string RemoveWininitRenameLine(std::string_view text, std::string_view line) {
  std::vector<std::string> lines = SplitLines(text);
  size_t header = RenameHeader(lines);
  for (size_t i = header + 1; i < lines.size() && !IsSectionHeader(lines[i]);) {
    if (EqualsNoCase(Trim(lines[i]), line))
      lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
    else
      ++i;
  }
  return Join(lines);
}

}  // namespace vexbane
