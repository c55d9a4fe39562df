// The helper's per-thread module state.
#include "ThreadState.h"

#include <new>

#include "core/text.h"

namespace vexbane::ext {
namespace {

// One state per thread in a TLS slot of our own: a thread_local with a destructor would need the
// runtime's thread-exit hooks, which the oldest systems lack, and a DLL loaded by LoadLibrary
// gets no implicit TLS there. The states are also chained, so that the ones of threads still
// running when the DLL is unloaded are freed with it.
class ThreadStates {
 public:
  ThreadStates() noexcept : m_slot(::TlsAlloc()) { ::InitializeCriticalSection(&m_lock); }
  ~ThreadStates() {
    while (m_first) Unlink(m_first);
    if (m_slot != TLS_OUT_OF_INDEXES) ::TlsFree(m_slot);
    ::DeleteCriticalSection(&m_lock);
  }
  ThreadStates(const ThreadStates&) = delete;
  ThreadStates& operator=(const ThreadStates&) = delete;

  ThreadState& Current() noexcept {
    if (m_slot == TLS_OUT_OF_INDEXES) return m_spare;
    if (auto* node = static_cast<Node*>(::TlsGetValue(m_slot))) return node->state;
    auto* node = new (std::nothrow) Node;
    if (!node) return m_spare;  // out of memory: a shared state is better than none
    if (!::TlsSetValue(m_slot, node)) {
      delete node;
      return m_spare;
    }
    ::EnterCriticalSection(&m_lock);
    node->next = m_first;
    if (m_first) m_first->prev = node;
    m_first = node;
    ::LeaveCriticalSection(&m_lock);
    return node->state;
  }

  void ReleaseCurrent() noexcept {
    if (m_slot == TLS_OUT_OF_INDEXES) return;
    auto* node = static_cast<Node*>(::TlsGetValue(m_slot));
    if (!node) return;
    ::TlsSetValue(m_slot, nullptr);
    Unlink(node);
  }

 private:
  struct Node {
    ThreadState state;
    Node* prev = nullptr;
    Node* next = nullptr;
  };

  void Unlink(Node* node) noexcept {
    ::EnterCriticalSection(&m_lock);
    if (node->prev) node->prev->next = node->next;
    if (node->next) node->next->prev = node->prev;
    if (m_first == node) m_first = node->next;
    ::LeaveCriticalSection(&m_lock);
    delete node;
  }

  DWORD m_slot;
  CRITICAL_SECTION m_lock;
  Node* m_first = nullptr;
  ThreadState m_spare;
};

ThreadStates g_threadStates;

}  // namespace

ThreadState& CurrentThreadState() noexcept { return g_threadStates.Current(); }

void ReleaseCurrentThreadState() noexcept { g_threadStates.ReleaseCurrent(); }

HWND HandleFromText(const std::string& text, HWND unchanged) noexcept {
  auto v = ToInt32(text);
  if (!v) return unchanged;
  // Window handles are 32-bit values on every Windows; sign-extend as the system does.
  return reinterpret_cast<HWND>(static_cast<intptr_t>(*v));
}

std::string HandleToText(HWND hwnd) {
  return std::to_string(static_cast<int32_t>(reinterpret_cast<intptr_t>(hwnd)));
}

}  // namespace vexbane::ext
