// Setup as a list of small steps, each with its undo: either every step is done or, from the
// failing one back to the first, each done step is undone and the system is as it was.
#pragma once
#include <cstddef>
#include <memory>
#include <vector>

namespace vexbane {

class SetupStep {
 public:
  virtual ~SetupStep() = default;
  // What the step does, as the progress page and a failure message name it.
  virtual const char* Name() const noexcept = 0;
  // Does the step. A failing step leaves nothing of itself behind. Returns 0 or the system's
  // error code.
  virtual unsigned long Do() noexcept = 0;
  // Puts back what a successful Do changed.
  virtual void Undo() noexcept = 0;
  // Once every step succeeded: removes what the step kept for its undo (old copies of files).
  virtual void Commit() noexcept {}
  // True when the step's work is finished only by the next restart (known after Commit).
  virtual bool NeedsRestart() const noexcept { return false; }
  // True when the product works without the step's work: its failure is reported, and the steps
  // before it stay done.
  virtual bool Optional() const noexcept { return false; }
};

using SetupSteps = std::vector<std::unique_ptr<SetupStep>>;

// Told before each step starts.
class SetupProgress {
 public:
  virtual void Starting(size_t index, size_t count, const SetupStep& step) noexcept = 0;

 protected:
  ~SetupProgress() = default;
};

struct SetupRunResult {
  bool done = false;
  size_t failedStep = 0;     // index of the step that failed, when not done
  unsigned long error = 0;   // its error code
  bool restartNeeded = false;
  bool warning = false;      // an optional step failed (the first such step, when done)
  size_t warningStep = 0;
  unsigned long warningError = 0;
};

// Runs the steps in order. When one fails, the steps done before it are undone in reverse order;
// otherwise every step is committed. An optional step's failure is noted and the next step runs.
SetupRunResult RunSetupSteps(const SetupSteps& steps, SetupProgress* progress) noexcept;

}  // namespace vexbane
