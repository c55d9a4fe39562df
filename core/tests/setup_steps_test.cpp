// Setup steps: all done and committed, or undone in reverse from the failing one.
#include "core/setup_steps.h"

#include <gtest/gtest.h>

#include <string>

namespace vexbane {
namespace {

class FakeStep final : public SetupStep {
 public:
  FakeStep(std::string name, std::string& log, unsigned long error = 0, bool restart = false, bool optional = false)
      : m_name(std::move(name)), m_log(log), m_error(error), m_restart(restart), m_optional(optional) {}
  const char* Name() const noexcept override { return m_name.c_str(); }
  unsigned long Do() noexcept override {
    m_log += "do " + m_name + ";";
    return m_error;
  }
  void Undo() noexcept override { m_log += "undo " + m_name + ";"; }
  void Commit() noexcept override { m_log += "commit " + m_name + ";"; }
  bool NeedsRestart() const noexcept override { return m_restart; }
  bool Optional() const noexcept override { return m_optional; }

 private:
  std::string m_name;
  std::string& m_log;
  unsigned long m_error;
  bool m_restart;
  bool m_optional;
};

class Names final : public SetupProgress {
 public:
  void Starting(size_t index, size_t count, const SetupStep& step) noexcept override {
    seen += std::to_string(index) + "/" + std::to_string(count) + " " + step.Name() + ";";
  }
  std::string seen;
};

TEST(SetupStepsTest, EveryStepDoneThenEveryStepCommitted) {
  std::string log;
  SetupSteps steps;
  steps.push_back(std::make_unique<FakeStep>("a", log));
  steps.push_back(std::make_unique<FakeStep>("b", log));
  Names names;
  SetupRunResult r = RunSetupSteps(steps, &names);
  EXPECT_TRUE(r.done);
  EXPECT_FALSE(r.restartNeeded);
  EXPECT_EQ(log, "do a;do b;commit a;commit b;");
  EXPECT_EQ(names.seen, "0/2 a;1/2 b;");
}

TEST(SetupStepsTest, FailingStepUndoesTheDoneStepsInReverseAndNotItself) {
  std::string log;
  SetupSteps steps;
  steps.push_back(std::make_unique<FakeStep>("a", log));
  steps.push_back(std::make_unique<FakeStep>("b", log));
  steps.push_back(std::make_unique<FakeStep>("c", log, 5));
  steps.push_back(std::make_unique<FakeStep>("d", log));
  SetupRunResult r = RunSetupSteps(steps, nullptr);
  EXPECT_FALSE(r.done);
  EXPECT_EQ(r.failedStep, 2u);
  EXPECT_EQ(r.error, 5u);
  EXPECT_EQ(log, "do a;do b;do c;undo b;undo a;");
}

TEST(SetupStepsTest, FirstStepFailingUndoesNothing) {
  std::string log;
  SetupSteps steps;
  steps.push_back(std::make_unique<FakeStep>("a", log, 2));
  SetupRunResult r = RunSetupSteps(steps, nullptr);
  EXPECT_FALSE(r.done);
  EXPECT_EQ(r.failedStep, 0u);
  EXPECT_EQ(log, "do a;");
}

TEST(SetupStepsTest, RestartNeededWhenAnyStepFinishesAtTheRestart) {
  std::string log;
  SetupSteps steps;
  steps.push_back(std::make_unique<FakeStep>("a", log));
  steps.push_back(std::make_unique<FakeStep>("b", log, 0, true));
  EXPECT_TRUE(RunSetupSteps(steps, nullptr).restartNeeded);
}

TEST(SetupStepsTest, OptionalStepFailingIsReportedAndTheInstallGoesOn) {
  std::string log;
  SetupSteps steps;
  steps.push_back(std::make_unique<FakeStep>("a", log));
  steps.push_back(std::make_unique<FakeStep>("b", log, 87, false, true));
  steps.push_back(std::make_unique<FakeStep>("c", log, 5, false, true));
  steps.push_back(std::make_unique<FakeStep>("d", log));
  SetupRunResult r = RunSetupSteps(steps, nullptr);
  EXPECT_TRUE(r.done);
  EXPECT_TRUE(r.warning);
  EXPECT_EQ(r.warningStep, 1u) << "the first optional failure is the one reported";
  EXPECT_EQ(r.warningError, 87u);
  EXPECT_EQ(log, "do a;do b;do c;do d;commit a;commit b;commit c;commit d;");
}

TEST(SetupStepsTest, LaterFailureUndoesAnOptionalStepThatFailedToo) {
  std::string log;
  SetupSteps steps;
  steps.push_back(std::make_unique<FakeStep>("a", log, 87, false, true));
  steps.push_back(std::make_unique<FakeStep>("b", log, 5));
  SetupRunResult r = RunSetupSteps(steps, nullptr);
  EXPECT_FALSE(r.done);
  EXPECT_EQ(r.failedStep, 1u);
  EXPECT_EQ(log, "do a;do b;undo a;") << "an optional step may have done part of its work";
}

TEST(SetupStepsTest, OptionalStepThatSucceedsLeavesNoWarning) {
  std::string log;
  SetupSteps steps;
  steps.push_back(std::make_unique<FakeStep>("a", log, 0, false, true));
  EXPECT_FALSE(RunSetupSteps(steps, nullptr).warning);
}

}  // namespace
}  // namespace vexbane
