// The setup program's command line.
#include "core/setup_command_line.h"

namespace vexbane {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// True when `text` from `at` begins with `prefix` (upper-case letters), letters in any case.
bool StartsWith(std::string_view text, size_t at, const char* prefix) {
  for (; *prefix; ++prefix, ++at)
    if (at >= text.size() || Upper(text[at]) != *prefix) return false;
  return true;
}

}  // namespace

SetupCommandLine ParseSetupCommandLine(std::string_view arguments) {
  SetupCommandLine result;
  size_t at = 0;
  for (;;) {
    while (at < arguments.size() && IsBlank(arguments[at])) ++at;
    if (at >= arguments.size()) break;
    if (StartsWith(arguments, at, "/D=")) {
      size_t begin = at + 3, end = arguments.size();
      while (end > begin && IsBlank(arguments[end - 1])) --end;
      if (end - begin >= 2 && arguments[begin] == '"' && arguments[end - 1] == '"') ++begin, --end;
      while (end - begin > 3 && (arguments[end - 1] == '\\' || arguments[end - 1] == '/')) --end;
      result.folder.assign(arguments.data() + begin, end - begin);
      break;
    }
    size_t end = at;
    while (end < arguments.size() && !IsBlank(arguments[end])) ++end;
    const size_t length = end - at;
    if (length == 2 && StartsWith(arguments, at, "/S")) {
      result.silent = true;
    } else if (StartsWith(arguments, at, "/AUTOCLEAN=")) {
      if (length == 12 && (arguments[at + 11] == '0' || arguments[at + 11] == '1'))
        result.autoClean = arguments[at + 11] - '0';
      else
        result.badSwitch = true;
    } else if (StartsWith(arguments, at, "/REMOVEAFTER=")) {
      unsigned long handle = 0;
      for (size_t i = at + 13; i < end; ++i) {
        const char c = arguments[i];
        if (c < '0' || c > '9' || handle > 0x0FFFFFFF) {
          handle = 0;
          break;
        }
        handle = handle * 10 + static_cast<unsigned long>(c - '0');
      }
      result.removeAfter = handle;
    }
    at = end;
  }
  return result;
}

bool IsFullFolderPath(std::string_view folder) {
  const bool onDrive = folder.size() >= 3 && Upper(folder[0]) >= 'A' && Upper(folder[0]) <= 'Z' && folder[1] == ':' &&
                       folder[2] == '\\';
  const bool onShare = folder.size() >= 5 && folder[0] == '\\' && folder[1] == '\\' &&
                       folder.find('\\', 2) != std::string_view::npos;
  if (!onDrive && !onShare) return false;
  for (size_t i = 2; i < folder.size(); ++i) {
    const char c = folder[i];
    if (static_cast<unsigned char>(c) < 0x20 || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' || c == '>' ||
        c == '|' || c == '/')
      return false;
  }
  return true;
}

}  // namespace vexbane
