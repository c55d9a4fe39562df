// The stand-in browser object: the IWebBrowser2 members the helper uses, and the
// DWebBrowserEvents2 connection point through which the host fires its events.
#pragma once
#include <windows.h>
#include <exdisp.h>
#include <ocidl.h>

#include <map>
#include <string>
#include <vector>

#include "win/com_ptr.h"
#include "win/critical_section.h"

namespace vexbane::host {

// Which new-window events the stand-in raises for one request, as the browsers do.
enum class EventOrder {
  NewWindow2Only,      // IE 5, IE 6 before XP SP2
  NewWindow3Then2,     // IE 6 SP2 and later: NewWindow2 follows unless NewWindow3 was cancelled
  NewWindow3Only,      // as when another sink supplied the new window in NewWindow3
  NewWindow2Then3,     // the other way round, as some hosts have been seen to do
};

// "ie6", "sp2", "3-only", "2-then-3"; false for any other name.
bool EventOrderFromName(const std::string& name, EventOrder& order);
const char* EventOrderName(EventOrder order);

// NWMF_USERINITED | NWMF_FIRST: what IE passes for a window that a page script opens.
inline constexpr long kNewWindowFlags = 0x0002 | 0x0004;
// The same with NWMF_SUGGESTTAB: IE 7 and later, set to open pop-ups in a new tab.
inline constexpr long kNewTabFlags = kNewWindowFlags | 0x80000;

class HostBrowser final : public IWebBrowser2, public IConnectionPointContainer, public IConnectionPoint {
 public:
  // A new object (one reference, owned by the caller) for the frame window `hwnd`.
  static HostBrowser* Create(HWND hwnd, const std::string& fullName) noexcept;

  void SetLocationURL(const std::string& url);
  void SetFullName(const std::string& fullName);
  size_t SinkCount() const noexcept { return m_sinks.size(); }
  // The n-th connected sink (from 0), with a reference of the caller's own; null when none.
  IDispatch* TakeSink(size_t n) const noexcept {
    if (n >= m_sinks.size()) return nullptr;
    IDispatch* sink = m_sinks[n].dispatch.get();
    sink->AddRef();
    return sink;
  }
  // The reference count as it stands (for the tests' leak checks).
  ULONG RefCount() noexcept;
  // True once the helper asked the browser to quit.
  bool QuitRequested() const noexcept { return m_quitRequested; }

  // Fires an event to every connected sink; arguments in the order the browser lists them
  // (they go out last-first, as DISPPARAMS wants).
  void Fire(DISPID id, std::vector<VARIANTARG> args) noexcept;
  void FireBeforeNavigate2(const std::string& url) noexcept;
  void FireTitleChange(const std::string& title) noexcept;
  // Returns the Cancel flag as the sinks left it.
  bool FireNewWindow2() noexcept;
  // One request for a new window to `url`, raised as `m_order` says with one Cancel shared by
  // both events; the opener is the page shown. Returns the Cancel flag as the sinks left it.
  // NewWindow3 carries `flags`.
  bool RequestNewWindow(const std::string& url, long flags = kNewWindowFlags) noexcept;
  void SetEventOrder(EventOrder order) noexcept { m_order = order; }
  EventOrder eventOrder() const noexcept { return m_order; }
  // The windows this browser opened through Navigate2 (navOpenInNewWindow, or navOpenInNewTab
  // of IE 7 and later): address, headers, and whether a tab was asked for.
  struct Opened {
    std::string url;
    std::string headers;
    bool asTab = false;
  };
  const std::vector<Opened>& opened() const noexcept { return m_opened; }
  void FireOnQuit() noexcept;

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** out) noexcept override;
  STDMETHODIMP_(ULONG) AddRef() noexcept override;
  STDMETHODIMP_(ULONG) Release() noexcept override;

  // IDispatch
  STDMETHODIMP GetTypeInfoCount(UINT* count) noexcept override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) noexcept override;
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) noexcept override;
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) noexcept override;

  // The members the helper uses
  STDMETHODIMP get_HWND(SHANDLE_PTR* hwnd) noexcept override;
  STDMETHODIMP get_LocationURL(BSTR* url) noexcept override;
  STDMETHODIMP get_FullName(BSTR* name) noexcept override;
  STDMETHODIMP Quit() noexcept override;
  // Only navOpenInNewWindow is offered: a new window, requested as a page's would be.
  STDMETHODIMP Navigate2(VARIANT* url, VARIANT* flags, VARIANT* target, VARIANT* postData,
                         VARIANT* headers) noexcept override;

  // IConnectionPointContainer
  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints** out) noexcept override;
  STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** out) noexcept override;

  // IConnectionPoint
  STDMETHODIMP GetConnectionInterface(IID* iid) noexcept override;
  STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** out) noexcept override;
  STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) noexcept override;
  STDMETHODIMP Unadvise(DWORD cookie) noexcept override;
  STDMETHODIMP EnumConnections(IEnumConnections** out) noexcept override;
  // The browser's property bag, which every helper of the desktop may read and write (other
  // tabs' helpers call it from their own threads).
  STDMETHODIMP PutProperty(BSTR property, VARIANT value) noexcept override;
  STDMETHODIMP GetProperty(BSTR property, VARIANT* value) noexcept override;

  // Everything else a real browser offers is not needed by the helper.
#define VEXBANE_NOTIMPL(name, ...) \
  STDMETHODIMP name(__VA_ARGS__) noexcept override { return E_NOTIMPL; }
  VEXBANE_NOTIMPL(GoBack)
  VEXBANE_NOTIMPL(GoForward)
  VEXBANE_NOTIMPL(GoHome)
  VEXBANE_NOTIMPL(GoSearch)
  VEXBANE_NOTIMPL(Navigate, BSTR, VARIANT*, VARIANT*, VARIANT*, VARIANT*)
  VEXBANE_NOTIMPL(Refresh)
  VEXBANE_NOTIMPL(Refresh2, VARIANT*)
  VEXBANE_NOTIMPL(Stop)
  VEXBANE_NOTIMPL(get_Application, IDispatch**)
  VEXBANE_NOTIMPL(get_Parent, IDispatch**)
  VEXBANE_NOTIMPL(get_Container, IDispatch**)
  VEXBANE_NOTIMPL(get_Document, IDispatch**)
  VEXBANE_NOTIMPL(get_TopLevelContainer, VARIANT_BOOL*)
  VEXBANE_NOTIMPL(get_Type, BSTR*)
  VEXBANE_NOTIMPL(get_Left, LONG*)
  VEXBANE_NOTIMPL(put_Left, LONG)
  VEXBANE_NOTIMPL(get_Top, LONG*)
  VEXBANE_NOTIMPL(put_Top, LONG)
  VEXBANE_NOTIMPL(get_Width, LONG*)
  VEXBANE_NOTIMPL(put_Width, LONG)
  VEXBANE_NOTIMPL(get_Height, LONG*)
  VEXBANE_NOTIMPL(put_Height, LONG)
  VEXBANE_NOTIMPL(get_LocationName, BSTR*)
  VEXBANE_NOTIMPL(get_Busy, VARIANT_BOOL*)
  VEXBANE_NOTIMPL(ClientToWindow, int*, int*)
  VEXBANE_NOTIMPL(get_Name, BSTR*)
  VEXBANE_NOTIMPL(get_Path, BSTR*)
  VEXBANE_NOTIMPL(get_Visible, VARIANT_BOOL*)
  VEXBANE_NOTIMPL(put_Visible, VARIANT_BOOL)
  VEXBANE_NOTIMPL(get_StatusBar, VARIANT_BOOL*)
  VEXBANE_NOTIMPL(put_StatusBar, VARIANT_BOOL)
  VEXBANE_NOTIMPL(get_StatusText, BSTR*)
  VEXBANE_NOTIMPL(put_StatusText, BSTR)
  VEXBANE_NOTIMPL(get_ToolBar, int*)
  VEXBANE_NOTIMPL(put_ToolBar, int)
  VEXBANE_NOTIMPL(get_MenuBar, VARIANT_BOOL*)
  VEXBANE_NOTIMPL(put_MenuBar, VARIANT_BOOL)
  VEXBANE_NOTIMPL(get_FullScreen, VARIANT_BOOL*)
  VEXBANE_NOTIMPL(put_FullScreen, VARIANT_BOOL)
  VEXBANE_NOTIMPL(QueryStatusWB, OLECMDID, OLECMDF*)
  VEXBANE_NOTIMPL(ExecWB, OLECMDID, OLECMDEXECOPT, VARIANT*, VARIANT*)
  VEXBANE_NOTIMPL(ShowBrowserBar, VARIANT*, VARIANT*, VARIANT*)
  VEXBANE_NOTIMPL(get_ReadyState, READYSTATE*)
  VEXBANE_NOTIMPL(get_Offline, VARIANT_BOOL*)
  VEXBANE_NOTIMPL(put_Offline, VARIANT_BOOL)
  VEXBANE_NOTIMPL(get_Silent, VARIANT_BOOL*)
  VEXBANE_NOTIMPL(put_Silent, VARIANT_BOOL)
  VEXBANE_NOTIMPL(get_RegisterAsBrowser, VARIANT_BOOL*)
  VEXBANE_NOTIMPL(put_RegisterAsBrowser, VARIANT_BOOL)
  VEXBANE_NOTIMPL(get_RegisterAsDropTarget, VARIANT_BOOL*)
  VEXBANE_NOTIMPL(put_RegisterAsDropTarget, VARIANT_BOOL)
  VEXBANE_NOTIMPL(get_TheaterMode, VARIANT_BOOL*)
  VEXBANE_NOTIMPL(put_TheaterMode, VARIANT_BOOL)
  VEXBANE_NOTIMPL(get_AddressBar, VARIANT_BOOL*)
  VEXBANE_NOTIMPL(put_AddressBar, VARIANT_BOOL)
  VEXBANE_NOTIMPL(get_Resizable, VARIANT_BOOL*)
  VEXBANE_NOTIMPL(put_Resizable, VARIANT_BOOL)
#undef VEXBANE_NOTIMPL

 private:
  HostBrowser(HWND hwnd, const std::string& fullName) noexcept;
  ~HostBrowser() = default;

  struct Sink {
    DWORD cookie;
    win::ComPtr<IDispatch> dispatch;
  };

  volatile LONG m_refs = 1;
  HWND m_hwnd;
  std::wstring m_url;
  std::wstring m_fullName;
  std::vector<Sink> m_sinks;
  DWORD m_nextCookie = 1;
  bool m_quitRequested = false;
  EventOrder m_order = EventOrder::NewWindow2Only;
  std::vector<Opened> m_opened;
  win::CriticalSection m_propertiesLock;
  std::map<std::wstring, long> m_properties;  // whole numbers are all a helper stores

  void FireNewWindow2(VARIANT_BOOL& cancel) noexcept;
  void FireNewWindow3(const std::string& url, long flags, VARIANT_BOOL& cancel) noexcept;
};

// ANSI text to a wide string (the system code page).
std::wstring Widen(const std::string& text);

}  // namespace vexbane::host
