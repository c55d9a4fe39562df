// Bookkeeping of the dialog scan: the lists of dialog windows seen by the last two scans.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace vexbane::hooks {

// The HTML dialog frame's class, compared exactly (letter case included) after trimming.
inline constexpr char kDialogClass[] = "Internet Explorer_TridentDlgFrame";
inline constexpr char kDialogListSeparator = '@';

bool IsDialogClass(std::string_view rawClassName);

// One list entry: the window handle as signed decimal text followed by "@".
std::string DialogEntry(int32_t handle);

// True when `entry` is one of the whole entries of `list`: the entry for handle 23 is not
// found inside the entry for handle 123.
bool ListHoldsEntry(std::string_view list, std::string_view entry);

// The lists one scan works on.
struct DialogLists {
  std::string strOldDialogList;  // the dialogs of the scan before
  std::string strDialogList;     // the dialogs of this scan
};

// Starts a scan: this scan's list becomes the old one, the new list starts empty.
void BeginDialogScan(DialogLists& lists);

// Adds a dialog window found by the scan; true when the previous scan did not have it.
bool AddScannedDialog(DialogLists& lists, int32_t handle);

}  // namespace vexbane::hooks
