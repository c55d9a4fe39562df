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

std::vector<int32_t> DialogListHandles(std::string_view list) {
  std::vector<int32_t> handles;
  while (!list.empty()) {
    const size_t end = list.find(kDialogListSeparator);
    if (auto v = ToInt32(list.substr(0, end))) handles.push_back(*v);
    if (end == std::string_view::npos) break;
    list.remove_prefix(end + 1);
  }
  return handles;
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
