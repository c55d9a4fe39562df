// The tray's recent blocks, the site of an address and the rows of the window.
#include "recent_blocks.h"

#include <algorithm>

#include "core/allow_list.h"
#include "core/text.h"

namespace vexbane::blocks {
namespace {

bool IsSchemeChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '+' || c == '-' ||
         c == '.';
}

std::string LowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

// Case-blind order of the editor's sorted list.
bool LessNoCase(std::string_view a, std::string_view b) {
  return LowerAscii(a) < LowerAscii(b);
}

}  // namespace

std::string SiteOfAddress(std::string_view address) {
  // A site goes into the allow list as one line of its own.
  if (HoldsControlCharacter(address)) return std::string();
  std::string_view rest = address;
  while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  size_t sep = rest.find("://");
  if (sep != std::string_view::npos && sep > 0 &&
      std::all_of(rest.begin(), rest.begin() + static_cast<std::ptrdiff_t>(sep), IsSchemeChar)) {
    rest.remove_prefix(sep + 3);
  } else {
    // "about:blank", "javascript:x()": a scheme of letters before the first colon, and no slash
    // before it. "host:8080/x" has digits after the colon and still names a host.
    size_t colon = rest.find(':');
    size_t slash = rest.find_first_of("/?#\\");
    if (colon != std::string_view::npos && colon > 0 && colon < slash &&
        std::all_of(rest.begin(), rest.begin() + static_cast<std::ptrdiff_t>(colon), IsSchemeChar) &&
        !(colon + 1 < rest.size() && rest[colon + 1] >= '0' && rest[colon + 1] <= '9'))
      return std::string();
  }
  size_t end = rest.find_first_of("/?#\\ ");
  std::string_view authority = rest.substr(0, end);
  size_t at = authority.rfind('@');
  if (at != std::string_view::npos) authority.remove_prefix(at + 1);
  std::string_view host = authority;
  if (!host.empty() && host.front() == '[') {
    size_t close = host.find(']');
    host = close == std::string_view::npos ? host : host.substr(0, close + 1);
  } else {
    host = host.substr(0, host.find(':'));
  }
  while (!host.empty() && host.back() == '.') host.remove_suffix(1);
  return LowerAscii(host);
}

std::string TimeOfDayText(int32_t timeOfDayMs) {
  if (timeOfDayMs < 0) timeOfDayMs = 0;
  const int32_t seconds = timeOfDayMs / 1000;
  // Formatted by hand: the C library's formatter brings the whole printf machinery (floating
  // point included) into the tray program for three two-digit numbers.
  const int32_t parts[3] = {seconds / 3600 % 24, seconds / 60 % 60, seconds % 60};
  std::string text;
  for (int32_t part : parts) {
    if (!text.empty()) text += ':';
    text += static_cast<char>('0' + part / 10);
    text += static_cast<char>('0' + part % 10);
  }
  return text;
}

uint32_t RecentBlocks::Add(const BlockRecord& record) {
  RecentBlock row;
  if (++m_lastId == 0) m_lastId = 1;
  row.id = m_lastId;
  row.record = record;
  row.site = SiteOfAddress(record.pageUrl);
  m_rows.push_front(std::move(row));
  while (m_rows.size() > kRecentCapacity) m_rows.pop_back();
  return m_lastId;
}

const RecentBlock* RecentBlocks::Find(uint32_t id) const {
  for (const RecentBlock& row : m_rows)
    if (row.id == id) return &row;
  return nullptr;
}

std::string RowText(const RecentBlock& row) {
  std::string text = TimeOfDayText(row.record.timeOfDayMs);
  text += '\t';
  text += row.site.empty() ? "(no site)" : row.site;
  text += '\t';
  text += KindText(row.record.kind);
  text += '\t';
  text += ReasonText(row.record.reason);
  return text;
}

std::optional<std::vector<std::string>> AddSiteToAllowList(const std::vector<std::string>& entries,
                                                           std::string_view site) {
  const std::string wanted = Trim(site);
  if (wanted.empty() || !IsStorableAllowListEntry(wanted)) return std::nullopt;
  for (const std::string& entry : entries)
    if (EqualsNoCase(Trim(entry), wanted)) return std::nullopt;
  std::vector<std::string> out = entries;
  auto at = std::find_if(out.begin(), out.end(), [&](const std::string& e) { return LessNoCase(wanted, e); });
  out.insert(at, wanted);
  return out;
}

}  // namespace vexbane::blocks
