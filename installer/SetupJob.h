// One run of setup: the files it carries, the user's choices, the install and what to say of it.
#pragma once
#include <string>
#include <vector>

#include "InstallSteps.h"
#include "core/setup_payload.h"
#include "core/setup_steps.h"

namespace vexbane::setup {

class SetupJob {
 public:
  // `self`: the setup file's bytes as read from disk; `files` and `programSize` as the payload
  // reader gave them.
  SetupJob(std::string self, std::vector<PayloadFile> files, size_t programSize)
      : m_self(std::move(self)), m_files(std::move(files)), m_programSize(programSize) {}

  InstallChoice& choice() noexcept { return m_choice; }
  const SetupRunResult& result() const noexcept { return m_result; }

  // Runs every step, or undoes them all when one fails.
  void Install(SetupProgress* progress);
  // The exit code for the result.
  int ExitCode() const noexcept;
  // What happened, in the words of the last page.
  std::string Outcome() const;

 private:
  std::string m_self;
  std::vector<PayloadFile> m_files;
  size_t m_programSize;
  InstallChoice m_choice;
  SetupSteps m_steps;
  SetupRunResult m_result;
  std::string m_failedStep;
  std::string m_warningStep;
};

// "<Program Files>\Vexbane", Program Files as the system reports it ("ProgramFilesDir" under
// Software\Microsoft\Windows\CurrentVersion), "C:\Program Files" when it names none.
std::string DefaultFolder();

// The product's "AutoClean" as stored, or its default when there is none.
int CurrentAutoClean();

// The system's own text for an error code, without the line end; the number when it has none.
std::string ErrorText(unsigned long error);

}  // namespace vexbane::setup
