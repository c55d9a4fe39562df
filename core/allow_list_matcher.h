// The allow list compiled for matching: every keyword looked for in one pass over the address.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vexbane {

// An automaton over the upper-cased keywords (Aho-Corasick): matching an address costs the
// same whatever the number of entries, about one step per character of the address. It
// answers exactly as AllowListMatches over the same entries: a keyword anywhere in the
// address, ASCII letters compared without regard to case, other bytes as they are.
class AllowListMatcher {
 public:
  static constexpr size_t kNoMatch = static_cast<size_t>(-1);

  AllowListMatcher();  // matches nothing
  explicit AllowListMatcher(std::vector<std::string> entries);

  // Index of the first entry, in the list's order, that occurs in `pageUrl`; kNoMatch when none
  // does. An entry of spaces only never matches, as with AllowListMatches.
  size_t FirstMatch(std::string_view pageUrl) const;
  bool Matches(std::string_view pageUrl) const { return FirstMatch(pageUrl) != kNoMatch; }

  const std::vector<std::string>& entries() const { return m_entries; }

 private:
  int32_t Step(int32_t state, unsigned char c) const;
  int32_t Child(int32_t state, unsigned char c) const;

  std::vector<std::string> m_entries;
  // State 0 is the root. The edges of state s are m_edgeChar/m_edgeTarget[m_first[s] ..
  // m_first[s + 1]), sorted by character.
  std::vector<uint32_t> m_first;
  std::vector<unsigned char> m_edgeChar;
  std::vector<int32_t> m_edgeTarget;
  std::vector<int32_t> m_fail;
  // Lowest entry index among the keywords that end at this state or at any state its failure
  // chain reaches; -1 for none.
  std::vector<int32_t> m_firstOutput;
};

}  // namespace vexbane
