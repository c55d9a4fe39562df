// Setup as a list of small steps with their undo.
#include "core/setup_steps.h"

namespace vexbane {

SetupRunResult RunSetupSteps(const SetupSteps& steps, SetupProgress* progress) noexcept {
  SetupRunResult result;
  for (size_t i = 0; i < steps.size(); ++i) {
    if (progress) progress->Starting(i, steps.size(), *steps[i]);
    unsigned long error = steps[i]->Do();
    if (error != 0 && steps[i]->Optional()) {
      if (!result.warning) {
        result.warning = true;
        result.warningStep = i;
        result.warningError = error;
      }
      continue;
    }
    if (error != 0) {
      result.failedStep = i;
      result.error = error;
      for (size_t undo = i; undo-- > 0;) steps[undo]->Undo();
      return result;
    }
  }
  for (const auto& step : steps) {
    step->Commit();
    if (step->NeedsRestart()) result.restartNeeded = true;
  }
  result.done = true;
  return result;
}

}  // namespace vexbane
