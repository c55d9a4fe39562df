// ComPtr<T>: one reference to a COM object, released exactly once.
#pragma once
#include <objbase.h>

#include <utility>

namespace vexbane::win {

template <typename T>
class ComPtr {
 public:
  ComPtr() noexcept = default;
  ComPtr(std::nullptr_t) noexcept {}
  // Takes a new reference of its own to `p`.
  explicit ComPtr(T* p) noexcept : m_p(p) {
    if (m_p) m_p->AddRef();
  }
  ComPtr(const ComPtr& o) noexcept : ComPtr(o.m_p) {}
  ComPtr(ComPtr&& o) noexcept : m_p(std::exchange(o.m_p, nullptr)) {}
  ComPtr& operator=(ComPtr o) noexcept {
    std::swap(m_p, o.m_p);
    return *this;
  }
  ~ComPtr() { reset(); }

  T* get() const noexcept { return m_p; }
  T* operator->() const noexcept { return m_p; }
  explicit operator bool() const noexcept { return m_p != nullptr; }

  void reset() noexcept {
    if (T* p = std::exchange(m_p, nullptr)) p->Release();
  }
  // Hands out the reference without releasing it.
  T* detach() noexcept { return std::exchange(m_p, nullptr); }
  // Adopts a reference the caller already owns.
  void attach(T* p) noexcept {
    reset();
    m_p = p;
  }
  // For out-parameters: releases what is held, then gives the slot to fill.
  T** put() noexcept {
    reset();
    return &m_p;
  }
  void** put_void() noexcept { return reinterpret_cast<void**>(put()); }

  // QueryInterface into `out`; returns the HRESULT.
  template <typename U>
  HRESULT As(const IID& iid, ComPtr<U>& out) const noexcept {
    if (!m_p) return E_POINTER;
    return m_p->QueryInterface(iid, out.put_void());
  }

 private:
  T* m_p = nullptr;
};

}  // namespace vexbane::win
