// The allow list kept compiled between decisions, behind one lock for the process's threads.
#include "WebSiteList.h"

#include "SharedListFile.h"

namespace vexbane::ext {
namespace {

SharedListFile g_list;

}  // namespace

bool WebSiteListAllows(const std::string& path, std::string_view pageUrl, std::string* matched) noexcept {
  return g_list.Consult(path, [&](const AllowListMatcher& list) {
    const size_t first = list.FirstMatch(pageUrl);
    if (first == AllowListMatcher::kNoMatch) return false;
    if (matched) *matched = list.entries()[first];
    return true;
  });
}

}  // namespace vexbane::ext
