// A lock around the read-add-write of "CountIE", shared by every browser thread and process.
#pragma once
#include "win/unique.h"

namespace vexbane::ext {

// Holds the named mutex for its lifetime. Two windows attaching at the same moment would
// otherwise both read the same count and one of them would be lost. When the mutex cannot be
// had within two seconds (a holder hangs) the update goes ahead unguarded rather than stall
// the browser.
class CountIELock {
 public:
  CountIELock() noexcept;
  ~CountIELock();
  CountIELock(const CountIELock&) = delete;
  CountIELock& operator=(const CountIELock&) = delete;

  bool held() const noexcept { return m_held; }

 private:
  win::UniqueHandle m_mutex;
  bool m_held = false;
};

// The mutex's name, the same in every process.
inline constexpr char kCountIEMutexName[] = "VexbaneCountIE";

}  // namespace vexbane::ext
