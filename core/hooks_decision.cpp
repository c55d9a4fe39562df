// The dialog decision.
#include "hooks_decision.h"

#include "core/time_of_day.h"

namespace vexbane::hooks {

std::optional<int32_t> DialogTimeWindow(int16_t level, DialogTrigger trigger) {
  const bool scan = trigger == DialogTrigger::ScanMessage;
  switch (level) {
    case 1: return 5000;
    case 3: return scan ? 2000 : 3000;
    case 4: return std::nullopt;
    default: return scan ? 3500 : 3000;
  }
}

DialogVerdict DecideDialog(int16_t level, DialogTrigger trigger, int32_t now, int32_t buttonUpTime,
                           DialogFacts& facts) {
  DialogVerdict verdict;
  if (level == 0) return verdict;
  if (facts.CtrlDown()) return verdict;
  if (facts.OnAllowList()) return verdict;

  std::optional<int32_t> window = DialogTimeWindow(level, trigger);
  if (!window) {
    verdict.close = true;
    verdict.order = kCloseOrderA;
    return verdict;
  }
  verdict.clearButtonUpTime = true;
  const bool releasedRecently = buttonUpTime != 0 && ElapsedMs(now, buttonUpTime) <= *window;
  if (releasedRecently) return verdict;
  verdict.close = true;
  verdict.order = trigger == DialogTrigger::ScanMessage ? kCloseOrderA : kCloseOrderB;
  return verdict;
}

}  // namespace vexbane::hooks
