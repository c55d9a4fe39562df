// The setup program's command line: silent mode, the folder and the cookie-cleaning choice.
#pragma once
#include <string>
#include <string_view>

namespace vexbane {

struct SetupCommandLine {
  bool silent = false;          // "/S"
  std::string folder;           // "/D=<folder>": empty when not given
  int autoClean = -1;           // "/AUTOCLEAN=0|1": -1 when not given
  bool badSwitch = false;       // "/AUTOCLEAN=" with anything but 0 or 1
  // "/REMOVEAFTER=<n>": the uninstaller's copy in the temporary folder, told to remove the
  // uninstaller in the program folder (/D=) once the process whose inherited handle is n has
  // ended. 0 when not given.
  unsigned long removeAfter = 0;
};

// Reads the arguments after the program's name. Switches are separated by spaces and their
// letters compared without regard to case; "/D=" is taken last, as administrators know it from
// earlier setups: everything after it up to the end of the line is the folder (spaces included,
// surrounding quotes and trailing spaces dropped), so it must be the last switch. Words that are
// not switches of ours are ignored.
SetupCommandLine ParseSetupCommandLine(std::string_view arguments);

// True for a folder setup can install in: a full path on a drive ("C:\...") or a network share
// ("\\server\share\..."), without characters a file name cannot hold. A relative path would
// land wherever setup happened to be started.
bool IsFullFolderPath(std::string_view folder);

}  // namespace vexbane
