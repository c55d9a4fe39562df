// Text across COM: an owner for BSTRs and the ANSI conversions the helper needs.
#pragma once
#include <windows.h>
#include <oleauto.h>

#include <string>
#include <utility>

namespace vexbane::ext {

// One BSTR, freed exactly once. put() hands out the slot of an [out] BSTR parameter.
class UniqueBstr {
 public:
  UniqueBstr() noexcept = default;
  explicit UniqueBstr(BSTR s) noexcept : m_s(s) {}
  UniqueBstr(const UniqueBstr&) = delete;
  UniqueBstr& operator=(const UniqueBstr&) = delete;
  UniqueBstr(UniqueBstr&& o) noexcept : m_s(std::exchange(o.m_s, nullptr)) {}
  UniqueBstr& operator=(UniqueBstr&& o) noexcept {
    if (this != &o) reset(std::exchange(o.m_s, nullptr));
    return *this;
  }
  ~UniqueBstr() { reset(); }

  BSTR get() const noexcept { return m_s; }
  explicit operator bool() const noexcept { return m_s != nullptr; }
  void reset(BSTR s = nullptr) noexcept {
    if (m_s) ::SysFreeString(m_s);
    m_s = s;
  }
  BSTR* put() noexcept {
    reset();
    return &m_s;
  }

 private:
  BSTR m_s = nullptr;
};

// The BSTR's text in the ANSI code page; empty for a null BSTR.
std::string AnsiFromBstr(BSTR s);

// A new BSTR holding `text` (ANSI code page); empty owner when out of memory.
UniqueBstr BstrFromAnsi(const std::string& text);

}  // namespace vexbane::ext
