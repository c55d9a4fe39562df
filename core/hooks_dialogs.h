// Bookkeeping of the dialog scan: the lists of dialog windows seen by the last two scans.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

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

// The handles of a dialog list's entries, in the list's order.
std::vector<int32_t> DialogListHandles(std::string_view list);

// Starts a scan: the list of the last scan becomes the old one, the new list starts empty.
void BeginDialogScan(std::string& dialogList, std::string& oldDialogList);

// Adds a dialog window found by the scan to `dialogList`; true when `oldDialogList` (the scan
// before) did not have it.
bool AddScannedDialog(std::string& dialogList, const std::string& oldDialogList, int32_t handle);

}  // namespace vexbane::hooks
