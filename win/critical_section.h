// A critical section owned by an object, and the scope that holds it (calls of the floor).
#pragma once
#include <windows.h>

namespace vexbane::win {

class CriticalSection {
 public:
  CriticalSection() noexcept { ::InitializeCriticalSection(&m_section); }
  ~CriticalSection() { ::DeleteCriticalSection(&m_section); }
  CriticalSection(const CriticalSection&) = delete;
  CriticalSection& operator=(const CriticalSection&) = delete;

  void Enter() noexcept { ::EnterCriticalSection(&m_section); }
  void Leave() noexcept { ::LeaveCriticalSection(&m_section); }

 private:
  CRITICAL_SECTION m_section;
};

class Lock {
 public:
  explicit Lock(CriticalSection& section) noexcept : m_section(section) { m_section.Enter(); }
  ~Lock() { m_section.Leave(); }
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;

 private:
  CriticalSection& m_section;
};

}  // namespace vexbane::win
