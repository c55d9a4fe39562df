// The [rename] section of WININIT.INI, edited as text.
#include "core/wininit_rename.h"

#include "core/text.h"

namespace vexbane {
namespace {

// One line of the text: [begin, end) without its line end; next: where the following line begins.
struct Line {
  size_t begin, end, next;
};

Line LineAt(std::string_view text, size_t at) {
  size_t lf = text.find('\n', at);
  size_t next = lf == std::string_view::npos ? text.size() : lf + 1;
  size_t end = lf == std::string_view::npos ? text.size() : lf;
  if (end > at && text[end - 1] == '\r') --end;
  return {at, end, next};
}

std::string_view Text(std::string_view text, const Line& line) { return text.substr(line.begin, line.end - line.begin); }

bool IsSectionHeader(std::string_view line) {
  std::string trimmed = Trim(line);
  return !trimmed.empty() && trimmed.front() == '[';
}

// Calls `each(line)` for the lines of the [rename] section; returns where the section's last
// non-blank line ends (after its line end), or npos when there is no section.
template <typename Each>
size_t ForEachRenameLine(std::string_view text, Each each) {
  size_t at = 0;
  bool inside = false;
  size_t sectionEnd = std::string_view::npos;
  while (at < text.size()) {
    Line line = LineAt(text, at);
    std::string_view body = Text(text, line);
    if (IsSectionHeader(body)) {
      if (inside) break;
      inside = EqualsNoCase(Trim(body), "[rename]");
      if (inside) sectionEnd = line.next;
    } else if (inside) {
      each(line);
      if (!Trim(body).empty()) sectionEnd = line.next;
    }
    at = line.next;
  }
  return sectionEnd;
}

// The text with CR LF line ends throughout.
std::string WithCrLf(std::string_view text) {
  std::string result;
  for (size_t at = 0; at < text.size();) {
    Line line = LineAt(text, at);
    result.append(Text(text, line));
    result += "\r\n";
    at = line.next;
  }
  return result;
}

}  // namespace

bool HasWininitRenameLine(std::string_view text, std::string_view line) {
  bool found = false;
  ForEachRenameLine(text, [&](const Line& l) { found = found || EqualsNoCase(Trim(Text(text, l)), line); });
  return found;
}

std::string AddWininitRenameLine(std::string_view text, std::string_view line) {
  std::string result = WithCrLf(text);
  if (HasWininitRenameLine(result, line)) return result;
  const size_t end = ForEachRenameLine(result, [](const Line&) {});
  std::string added = std::string(line) + "\r\n";
  if (end == std::string::npos) return result + "[rename]\r\n" + added;
  return result.insert(end, added);
}

std::string RemoveWininitRenameLine(std::string_view text, std::string_view line) {
  std::string source = WithCrLf(text);
  std::string result;
  size_t copied = 0;
  ForEachRenameLine(source, [&](const Line& l) {
    if (!EqualsNoCase(Trim(Text(source, l)), line)) return;
    result.append(source, copied, l.begin - copied);
    copied = l.next;
  });
  result.append(source, copied, std::string::npos);
  return result;
}

}  // namespace vexbane
