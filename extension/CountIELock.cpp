// The lock around the browser count's update.
#include "CountIELock.h"

namespace vexbane::ext {

CountIELock::CountIELock() noexcept : m_mutex(::CreateMutexA(nullptr, FALSE, kCountIEMutexName)) {
  if (!m_mutex) return;
  DWORD rc = ::WaitForSingleObject(m_mutex.get(), 2000);
  // An abandoned mutex still hands over ownership; the count it guarded is merely stale.
  m_held = rc == WAIT_OBJECT_0 || rc == WAIT_ABANDONED;
}

CountIELock::~CountIELock() {
  if (m_held) ::ReleaseMutex(m_mutex.get());
}

}  // namespace vexbane::ext
