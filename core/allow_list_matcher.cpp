// Building the allow list's automaton and running an address through it.
#include "allow_list_matcher.h"

#include <algorithm>
#include <utility>

namespace vexbane {
namespace {

unsigned char Upper(unsigned char c) { return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 'a' + 'A') : c; }

// The keyword trie while it is built: a few children per node, found by a linear look.
struct BuildNode {
  std::vector<std::pair<unsigned char, int32_t>> children;
  int32_t output = -1;
};

int32_t FindChild(const BuildNode& node, unsigned char c) {
  for (const auto& [ch, target] : node.children)
    if (ch == c) return target;
  return -1;
}

}  // namespace

AllowListMatcher::AllowListMatcher() : m_first{0, 0}, m_fail{0}, m_firstOutput{-1} {}

AllowListMatcher::AllowListMatcher(std::vector<std::string> entries) : m_entries(std::move(entries)) {
  std::vector<BuildNode> trie(1);
  for (size_t i = 0; i < m_entries.size(); ++i) {
    // A blank keyword would occur in every address; the list never lets it match.
    if (m_entries[i].find_first_not_of(' ') == std::string::npos) continue;
    int32_t state = 0;
    for (char raw : m_entries[i]) {
      const unsigned char c = Upper(static_cast<unsigned char>(raw));
      int32_t next = FindChild(trie[state], c);
      if (next < 0) {
        next = static_cast<int32_t>(trie.size());
        trie[state].children.emplace_back(c, next);
        trie.emplace_back();
      }
      state = next;
    }
    if (trie[state].output < 0) trie[state].output = static_cast<int32_t>(i);  // the first of equal keywords
  }

  // Flatten the trie into sorted edge arrays.
  const size_t n = trie.size();
  m_first.assign(n + 1, 0);
  for (size_t s = 0; s < n; ++s) {
    std::sort(trie[s].children.begin(), trie[s].children.end());
    m_first[s + 1] = m_first[s] + static_cast<uint32_t>(trie[s].children.size());
  }
  m_edgeChar.reserve(m_first[n]);
  m_edgeTarget.reserve(m_first[n]);
  for (const BuildNode& node : trie) {
    for (const auto& [ch, target] : node.children) {
      m_edgeChar.push_back(ch);
      m_edgeTarget.push_back(target);
    }
  }

  // Failure links breadth-first: a state's link is the longest proper suffix of its text that is
  // also a path from the root, so every state is reached after all shorter ones.
  m_fail.assign(n, 0);
  m_firstOutput.assign(n, -1);
  m_firstOutput[0] = trie[0].output;
  std::vector<int32_t> queue;
  queue.reserve(n);
  queue.push_back(0);
  for (size_t head = 0; head < queue.size(); ++head) {
    const int32_t s = queue[head];
    for (uint32_t e = m_first[s]; e < m_first[s + 1]; ++e) {
      const unsigned char c = m_edgeChar[e];
      const int32_t t = m_edgeTarget[e];
      m_fail[t] = s == 0 ? 0 : Step(m_fail[s], c);
      const int32_t own = trie[t].output, inherited = m_firstOutput[m_fail[t]];
      m_firstOutput[t] = own < 0 ? inherited : inherited < 0 ? own : std::min(own, inherited);
      queue.push_back(t);
    }
  }
}

int32_t AllowListMatcher::Child(int32_t state, unsigned char c) const {
  const unsigned char* begin = m_edgeChar.data() + m_first[state];
  const unsigned char* end = m_edgeChar.data() + m_first[state + 1];
  const unsigned char* it = std::lower_bound(begin, end, c);
  if (it == end || *it != c) return -1;
  return m_edgeTarget[static_cast<size_t>(it - m_edgeChar.data())];
}

int32_t AllowListMatcher::Step(int32_t state, unsigned char c) const {
  for (;;) {
    const int32_t next = Child(state, c);
    if (next >= 0) return next;
    if (state == 0) return 0;
    state = m_fail[state];
  }
}

size_t AllowListMatcher::FirstMatch(std::string_view pageUrl) const {
  int32_t best = -1;
  int32_t state = 0;
  for (char raw : pageUrl) {
    if (best == 0) break;  // nothing comes before the first entry
    state = Step(state, Upper(static_cast<unsigned char>(raw)));
    const int32_t found = m_firstOutput[state];
    if (found >= 0 && (best < 0 || found < best)) best = found;
  }
  return best < 0 ? kNoMatch : static_cast<size_t>(best);
}

}  // namespace vexbane
