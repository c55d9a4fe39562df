// A folder's change notification.
#include "folder_watch.h"

namespace vexbane::win {

void FolderWatch::Arm(const std::string& path) noexcept {
  try {
    const size_t slash = path.find_last_of("\\/");
    const std::string folder = slash == std::string::npos ? std::string(".") : path.substr(0, slash);
    if (m_change && folder == m_folder) {
      if (::WaitForSingleObject(m_change.get(), 0) == WAIT_TIMEOUT) return;  // still armed, nothing seen
      if (::FindNextChangeNotification(m_change.get())) return;
    }
    m_change.reset();
    m_folder = folder;
    m_change.reset(::FindFirstChangeNotificationA(
        folder.c_str(), FALSE,
        FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE));
  } catch (...) {
    m_change.reset();
  }
}

bool FolderWatch::Quiet() const noexcept {
  return m_change && ::WaitForSingleObject(m_change.get(), 0) == WAIT_TIMEOUT;
}

}  // namespace vexbane::win
