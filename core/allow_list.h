// The allow list "WebSite.dat": a count line, then one keyword a line, every line ended by CR LF.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace vexbane {

// Reads the file's text. Only lines actually present are taken (a count larger than the lines
// that follow does not invent entries), and an entry that is blank after trimming is dropped:
// it would match every page. A first line that is not a count (a text editor's byte-order
// mark, say) does not hide the entries: the lines after it are read as entries.
// Entries keep their text and letter case as stored.
std::vector<std::string> ParseAllowList(std::string_view fileText);

// The whole file for these entries, in the given order.
std::string FormatAllowList(const std::vector<std::string>& entries);

// True when an entry can be written as a line of its own: no control character. An entry with a
// line break would put a line of its own making into the list (a line "http" allows every page)
// and make the count disagree with the lines, so that every reader drops the last entry.
bool IsStorableAllowListEntry(std::string_view entry);

// True when some entry occurs anywhere in `pageUrl`, letters compared without regard to case.
bool AllowListMatches(const std::vector<std::string>& entries, std::string_view pageUrl);

// Splits text into lines at LF, dropping one CR before each LF; a final line without an
// ending is kept, an empty text has no lines.
std::vector<std::string> SplitLines(std::string_view text);

}  // namespace vexbane
