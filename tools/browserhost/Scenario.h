// The stand-in browser's scenario language: one command a line, one report line per event.
#pragma once
#include <istream>
#include <ostream>

#include "HostShape.h"

namespace vexbane::host {

// Runs the commands of `in` (see the usage text of the program) and reports on `out`.
// Windows still open at the end quit as a user closing them would. Returns 0, or 2 when a
// line could not be understood.
int RunScenario(std::istream& in, std::ostream& out);
// The same in the browser shape `shape` (IE 6's one browser per window, or the tabs of 7 and 8).
int RunScenario(std::istream& in, std::ostream& out, const ShapeOptions& shape);

class HostSession;
// The commands of `in` in a session of the caller's, which stays open after them.
int RunCommands(HostSession& session, std::istream& in, std::ostream& out);

}  // namespace vexbane::host
