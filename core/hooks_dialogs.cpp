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

void BeginDialogScan(std::string& dialogList, std::string& oldDialogList) {
  oldDialogList = std::move(dialogList);
  dialogList.clear();
}

bool AddScannedDialog(std::string& dialogList, const std::string& oldDialogList, int32_t handle) {
  std::string entry = DialogEntry(handle);
  dialogList += entry;
  return !ListHoldsEntry(oldDialogList, entry);
}

}  // namespace vexbane::hooks
