// The sentences of the data files' notices.
#include "core/file_problem.h"

namespace vexbane {

std::string FileProblemSentence(std::string_view fileName, FileProblem problem, bool writing, unsigned long error) {
  const std::string name(fileName);
  switch (problem) {
    case FileProblem::HeldByAnotherProgram:
      return name + " is held open by another program; try again once that program has closed it.";
    case FileProblem::ReadOnly:
      return name + " is marked read-only.";
    case FileProblem::NoPermission:
      return std::string("This account has no permission to ") + (writing ? "change " : "read ") + name +
             "; an administrator can reinstall Vexbane to allow it.";
    case FileProblem::FolderInTheWay:
      return "A folder named " + name + " stands where the file belongs.";
    case FileProblem::Missing:
      return name + " is missing and could not be made.";
    case FileProblem::Other:
      break;
  }
  return name + " could not be " + (writing ? "written" : "read") + " (error " + std::to_string(error) + ").";
}

}  // namespace vexbane
