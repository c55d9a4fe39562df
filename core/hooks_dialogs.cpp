// Bookkeeping of the dialog scan.
#include "hooks_dialogs.h"

#include "core/text.h"

namespace vexbane::hooks {

bool IsDialogClass(std::string_view rawClassName) { return Trim(rawClassName) == kDialogClass; }

std::string DialogEntry(int32_t handle) { return std::to_string(handle) + kDialogListSeparator; }

bool ListHoldsEntry(std::string_view list, std::string_view entry) {
  if (entry.empty()) return false;
  // Every entry ends with the separator, so one in front anchors the search to entry starts.
  std::string anchoredList = kDialogListSeparator + std::string(list);
  std::string anchoredEntry = kDialogListSeparator + std::string(entry);
  return anchoredList.find(anchoredEntry) != std::string::npos;
}

void BeginDialogScan(DialogLists& lists) {
  lists.strOldDialogList = std::move(lists.strDialogList);
  lists.strDialogList.clear();
}

bool AddScannedDialog(DialogLists& lists, int32_t handle) {
  std::string entry = DialogEntry(handle);
  lists.strDialogList += entry;
  return !ListHoldsEntry(lists.strOldDialogList, entry);
}

}  // namespace vexbane::hooks
