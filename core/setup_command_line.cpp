// The setup program's command line.
#include "core/setup_command_line.h"

#include "core/text.h"

namespace vexbane {
namespace {

bool StartsNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

SetupCommandLine ParseSetupCommandLine(std::string_view arguments) {
  SetupCommandLine result;
  size_t at = 0;
  while (at < arguments.size()) {
    while (at < arguments.size() && IsBlank(arguments[at])) ++at;
    if (at >= arguments.size()) break;
    std::string_view rest = arguments.substr(at);
    if (StartsNoCase(rest, "/D=")) {
      std::string_view folder = rest.substr(3);
      while (!folder.empty() && (IsBlank(folder.back()) || folder.back() == '\r' || folder.back() == '\n'))
        folder.remove_suffix(1);
      if (folder.size() >= 2 && folder.front() == '"' && folder.back() == '"')
        folder = folder.substr(1, folder.size() - 2);
      while (folder.size() > 3 && (folder.back() == '\\' || folder.back() == '/')) folder.remove_suffix(1);
      result.folder = std::string(folder);
      break;
    }
    size_t end = at;
    while (end < arguments.size() && !IsBlank(arguments[end])) ++end;
    std::string_view word = arguments.substr(at, end - at);
    at = end;
    if (EqualsNoCase(word, "/S")) {
      result.silent = true;
    } else if (StartsNoCase(word, "/REMOVEAFTER=")) {
      unsigned long handle = 0;
      for (char c : word.substr(13)) {
        if (c < '0' || c > '9' || handle > 0x0FFFFFFF) {
          handle = 0;
          break;
        }
        handle = handle * 10 + static_cast<unsigned long>(c - '0');
      }
      result.removeAfter = handle;
    } else if (StartsNoCase(word, "/AUTOCLEAN=")) {
      std::string_view value = word.substr(11);
      if (value == "0" || value == "1")
        result.autoClean = value[0] - '0';
      else
        result.badSwitch = true;
    }
  }
  return result;
}

}  // namespace vexbane
