// The [rename] section of WININIT.INI, which the 95 family works through once at its next start:
// each line "target=source" moves source onto target, "NUL=source" deletes source. Names are
// short (8.3) paths, and one name may stand on the left of several lines ("NUL=" above all),
// which the profile calls cannot write: the file is edited as text.
#pragma once
#include <string>
#include <string_view>

namespace vexbane {

// The text with `line` ("target=source") added at the end of the [rename] section (the section
// made at the end when there is none). A line already there is not added twice. Line ends are CR LF.
std::string AddWininitRenameLine(std::string_view text, std::string_view line);

// The text without the [rename] section's lines equal to `line` (letters compared without regard
// to case); everything else as it was.
std::string RemoveWininitRenameLine(std::string_view text, std::string_view line);

// True when the [rename] section holds `line`.
bool HasWininitRenameLine(std::string_view text, std::string_view line);

}  // namespace vexbane
