// How setup puts a file in its place in the program folder, keeping the old file for the undo,
// also while the old file is in use (the browser helper loaded in every browser window):
// the NT family renames the file in use aside and writes the new one under its name, the aside
// copy going at the next restart; the 95 family, which cannot rename a file in use, writes the
// new file beside it and has WININIT.INI swap them at the next restart.
#pragma once
#include <windows.h>

#include <cstddef>
#include <string>

namespace vexbane::win {

struct PlacedFile {
  std::string target;
  std::string kept;         // the old file under a name of its own, until Commit; empty when none
  bool keptInUse = false;   // ... loaded by a running program when it was renamed aside
  std::string waiting;      // 95 family, old file in use: the new file beside it
  std::string wininitLine;  // ... and the line that swaps them at the restart
  bool restartNeeded = false;
};

// True when the file is open in a way that forbids writing it (a loaded program or DLL).
bool IsFileInUse(const std::string& path);

// Puts `size` bytes at `target`. A folder or a read-only file in the way is not replaced
// (ERROR_ACCESS_DENIED). Returns a Win32 error code; on failure nothing has changed.
DWORD PlaceFile(const std::string& target, const void* data, size_t size, PlacedFile& placed);
// Puts the old file back (or removes the new one when there was none).
void UndoPlaceFile(PlacedFile& placed);
// Removes the old file's kept copy, at the next restart when it is still in use.
void CommitPlaceFile(PlacedFile& placed);

// Writes a new file (it must not exist) with exactly these bytes; a short write fails and
// leaves no file. Returns a Win32 error code.
DWORD WriteNewFile(const std::string& path, const void* data, size_t size);

// Reads a whole file plainly (no sharing rules of the data files). Returns a Win32 error code.
DWORD ReadPlainFile(const std::string& path, std::string& data);
// Writes a whole file plainly, replacing what was there. Returns a Win32 error code.
DWORD WritePlainFile(const std::string& path, const std::string& data);

// A name in `folder` that no file holds yet, "<prefix>XXXX.tmp" (8.3 on every system); the
// file is created empty to hold the name. Empty on failure.
std::string ReserveFileName(const std::string& folder, const char* prefix);

}  // namespace vexbane::win
