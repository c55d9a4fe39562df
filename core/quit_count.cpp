// The browser recount at quit.
#include "quit_count.h"

#include <string>

#include "core/text.h"

namespace vexbane::quit {

namespace {
constexpr size_t kProgramTail = 20;
}

bool CountsAsBrowser(std::string_view fullName) {
  std::string path = Trim(fullName);
  if (path.size() > kProgramTail) path = path.substr(path.size() - kProgramTail);
  path = ToUpper(path);
  size_t slash = path.rfind('\\');
  std::string_view file = path;
  if (slash != std::string::npos) file = file.substr(slash + 1);
  return !file.empty() && file.front() == 'I';
}

QuitPlan PlanQuit(std::optional<int16_t> browsersListed, int16_t previousCount, bool laterQuitListed) {
  QuitPlan plan;
  plan.countIE = previousCount;
  if (!browsersListed) return plan;
  plan.writeCount = true;
  plan.countIE = static_cast<int16_t>(*browsersListed - 1);
  plan.lastWindow = plan.countIE < 1 && !laterQuitListed;
  return plan;
}

bool ShouldCleanCookies(std::string_view autoCleanText) {
  int16_t autoClean = 0;
  AssignIfConverts(autoClean, autoCleanText);
  return autoClean == 1;
}

}  // namespace vexbane::quit
