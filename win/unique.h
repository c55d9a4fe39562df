// One move-only owner per handle kind: Unique<Traits> closes what it holds, exactly once.
#pragma once
#include <windows.h>

#include <utility>

namespace vexbane::win {

template <typename Traits>
class Unique {
 public:
  using Handle = typename Traits::Handle;

  Unique() noexcept = default;
  explicit Unique(Handle h) noexcept : m_handle(h) {}
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;
  Unique(Unique&& other) noexcept : m_handle(other.release()) {}
  Unique& operator=(Unique&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  ~Unique() { reset(); }

  Handle get() const noexcept { return m_handle; }
  explicit operator bool() const noexcept { return m_handle != Traits::Invalid(); }

  // Closes the handle held now and takes `h`.
  void reset(Handle h = Traits::Invalid()) noexcept {
    if (m_handle != Traits::Invalid()) Traits::Close(m_handle);
    m_handle = h;
  }
  Handle release() noexcept { return std::exchange(m_handle, Traits::Invalid()); }

  // For out-parameters: closes what is held, then gives the slot to fill.
  Handle* put() noexcept {
    reset();
    return &m_handle;
  }

 private:
  Handle m_handle = Traits::Invalid();
};

#define VEXBANE_HANDLE_TRAITS(Name, Type, InvalidValue, CloseCall) \
  struct Name {                                                    \
    using Handle = Type;                                           \
    static Handle Invalid() noexcept { return InvalidValue; }      \
    static void Close(Handle h) noexcept { CloseCall; }            \
  }

VEXBANE_HANDLE_TRAITS(KeyTraits, HKEY, nullptr, ::RegCloseKey(h));
VEXBANE_HANDLE_TRAITS(HandleTraits, HANDLE, nullptr, ::CloseHandle(h));
VEXBANE_HANDLE_TRAITS(FileTraits, HANDLE, INVALID_HANDLE_VALUE, ::CloseHandle(h));
VEXBANE_HANDLE_TRAITS(WindowTraits, HWND, nullptr, ::DestroyWindow(h));
VEXBANE_HANDLE_TRAITS(HookTraits, HHOOK, nullptr, ::UnhookWindowsHookEx(h));
VEXBANE_HANDLE_TRAITS(RegionTraits, HRGN, nullptr, ::DeleteObject(h));
VEXBANE_HANDLE_TRAITS(MenuTraits, HMENU, nullptr, ::DestroyMenu(h));
VEXBANE_HANDLE_TRAITS(IconTraits, HICON, nullptr, ::DestroyIcon(h));
VEXBANE_HANDLE_TRAITS(BitmapTraits, HBITMAP, nullptr, ::DeleteObject(h));
VEXBANE_HANDLE_TRAITS(FontTraits, HFONT, nullptr, ::DeleteObject(h));
VEXBANE_HANDLE_TRAITS(BrushTraits, HBRUSH, nullptr, ::DeleteObject(h));

// A FindFirstFile search is closed with FindClose, not CloseHandle.
VEXBANE_HANDLE_TRAITS(FindTraits, HANDLE, INVALID_HANDLE_VALUE, ::FindClose(h));
// A folder's change notification is closed with FindCloseChangeNotification.
VEXBANE_HANDLE_TRAITS(ChangeTraits, HANDLE, INVALID_HANDLE_VALUE, ::FindCloseChangeNotification(h));

#undef VEXBANE_HANDLE_TRAITS

using UniqueKey = Unique<KeyTraits>;
using UniqueChange = Unique<ChangeTraits>;
using UniqueHandle = Unique<HandleTraits>;
using UniqueFile = Unique<FileTraits>;
using UniqueWindow = Unique<WindowTraits>;
using UniqueHook = Unique<HookTraits>;
using UniqueRegion = Unique<RegionTraits>;
using UniqueMenu = Unique<MenuTraits>;
using UniqueIcon = Unique<IconTraits>;
using UniqueBitmap = Unique<BitmapTraits>;
using UniqueFont = Unique<FontTraits>;
using UniqueBrush = Unique<BrushTraits>;
using UniqueFind = Unique<FindTraits>;

}  // namespace vexbane::win
