// The helper's per-thread module state.
#include "ThreadState.h"

#include <new>

#include "core/text.h"

namespace vexbane::ext {

// One state per thread in a TLS slot of our own: a thread_local with a destructor would need the
// runtime's thread-exit hooks, which the oldest systems lack, and a DLL loaded by LoadLibrary
// gets no implicit TLS there. The states are also chained, so that the ones of threads still
// running when the DLL is unloaded are freed with it.
struct ThreadStates::Node {
  ThreadState state;
  Node* prev = nullptr;
  Node* next = nullptr;
};

ThreadStates::ThreadStates(DWORD slot) noexcept : m_slot(slot) { ::InitializeCriticalSection(&m_lock); }

ThreadStates::~ThreadStates() {
  while (m_first) Unlink(m_first);
  if (m_slot != TLS_OUT_OF_INDEXES) ::TlsFree(m_slot);
  ::DeleteCriticalSection(&m_lock);
}

ThreadState* ThreadStates::Current() noexcept {
  if (m_slot == TLS_OUT_OF_INDEXES) return nullptr;
  if (auto* node = static_cast<Node*>(::TlsGetValue(m_slot))) return &node->state;
  auto* node = new (std::nothrow) Node;
  if (!node) return nullptr;
  if (!::TlsSetValue(m_slot, node)) {
    delete node;
    return nullptr;
  }
  ::EnterCriticalSection(&m_lock);
  node->next = m_first;
  if (m_first) m_first->prev = node;
  m_first = node;
  ::LeaveCriticalSection(&m_lock);
  return &node->state;
}

void ThreadStates::ReleaseCurrent() noexcept {
  if (m_slot == TLS_OUT_OF_INDEXES) return;
  auto* node = static_cast<Node*>(::TlsGetValue(m_slot));
  if (!node) return;
  ::TlsSetValue(m_slot, nullptr);
  Unlink(node);
}

void ThreadStates::Unlink(Node* node) noexcept {
  ::EnterCriticalSection(&m_lock);
  if (node->prev) node->prev->next = node->next;
  if (node->next) node->next->prev = node->prev;
  if (m_first == node) m_first = node->next;
  ::LeaveCriticalSection(&m_lock);
  delete node;
}

namespace {

ThreadStates g_threadStates(::TlsAlloc());

}  // namespace

ThreadState* CurrentThreadState() noexcept { return g_threadStates.Current(); }

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
