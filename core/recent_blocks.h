// The tray's list of recent blocks (newest first, at most 20), the site of an address and the rows the window shows.
#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/block_record.h"

namespace vexbane::blocks {

inline constexpr size_t kRecentCapacity = 20;

// The host of a page address, lower-cased: "HTTP://user@WWW.Example.com:8080/x" gives
// "www.example.com". An address without "scheme://" is taken as starting with its host
// ("www.example.com/x"), unless it is a scheme with no host ("about:blank", "javascript:...",
// "mailto:..."), which gives "". A trailing dot of the host is dropped. An address holding a
// control character has no site.
std::string SiteOfAddress(std::string_view address);

// "HH:MM:SS" for a time of day in ms.
std::string TimeOfDayText(int32_t timeOfDayMs);

struct RecentBlock {
  uint32_t id = 0;  // increases with every block while the tray runs; never 0
  BlockRecord record;
  std::string site;
  uintptr_t frame = 0;  // the browser frame that reported it, as its window handle's value
};

// The blocks seen since the tray program started (with the first browser window), newest first.
class RecentBlocks {
 public:
  // Adds a block at the top; the oldest falls off beyond kRecentCapacity. Returns its id.
  uint32_t Add(const BlockRecord& record);
  const std::deque<RecentBlock>& Rows() const { return m_rows; }
  const RecentBlock* Find(uint32_t id) const;
  // Notes the browser frame that reported the block `id`.
  void SetFrame(uint32_t id, uintptr_t frame) {
    for (RecentBlock& row : m_rows)
      if (row.id == id) row.frame = frame;
  }
  size_t size() const { return m_rows.size(); }

 private:
  std::deque<RecentBlock> m_rows;
  uint32_t m_lastId = 0;
};

// A row of the window: its four columns joined by tabs ("time\tsite\twhat\twhy"); a block with
// no site shows "(no site)".
std::string RowText(const RecentBlock& row);

// The allow list with `site` added at its sorted place (letters compared without regard to
// case, as the editor's list keeps them); nothing when the site is empty, cannot be stored
// (IsStorableAllowListEntry) or an entry already equals it in any letter case.
std::optional<std::vector<std::string>> AddSiteToAllowList(const std::vector<std::string>& entries,
                                                           std::string_view site);

}  // namespace vexbane::blocks
