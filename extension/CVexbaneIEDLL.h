// CVexbaneIEDLL: the object the browser creates for each of its windows.
#pragma once
#include <windows.h>
#include <exdisp.h>
#include <ocidl.h>

#include <cstdint>
#include <string>

#include "BlockedWindows.h"
#include "BrowserEvents.h"
#include "EventSink.h"
#include "ThreadState.h"
#include "core/block_record.h"
#include "core/newwindow_flags.h"
#include "core/newwindow_pairing.h"
#include "win/com_ptr.h"

// The hidden dual default interface; its vtable follows the type library (IDispatch, then
// the one method), so the type library's Invoke can call through it.
struct _CVexbaneIEDLL : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE m_ie_OnQuit() = 0;
};

namespace vexbane::ext {

// Creates a new object and queries it for `iid` (the class table's creator).
HRESULT CreateCVexbaneIEDLL(REFIID iid, void** out) noexcept;

class CVexbaneIEDLL final : public _CVexbaneIEDLL,
                            public IObjectWithSite,
                            private BrowserEvents,
                            private BlockedWindowOpener {
 public:
  CVexbaneIEDLL() noexcept;

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** out) noexcept override;
  STDMETHODIMP_(ULONG) AddRef() noexcept override;
  STDMETHODIMP_(ULONG) Release() noexcept override;

  // IDispatch, answered from the type library embedded in the module
  STDMETHODIMP GetTypeInfoCount(UINT* count) noexcept override;
  STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** info) noexcept override;
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) noexcept override;
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* excep, UINT* argErr) noexcept override;

  // _CVexbaneIEDLL: the same routine as the browser's quit event.
  STDMETHODIMP m_ie_OnQuit() noexcept override;

  // IObjectWithSite
  STDMETHODIMP SetSite(IUnknown* site) noexcept override;
  STDMETHODIMP GetSite(REFIID iid, void** out) noexcept override;

 private:
  ~CVexbaneIEDLL();

  // Attach and detach (Attach.cpp)
  void Attach(IUnknown* site) noexcept;
  void Detach() noexcept;
  void ConnectBrowser() noexcept;
  bool HostIsBrowserFrame() const noexcept;
  void ReadTrayHandles(ThreadState& st) noexcept;
  void CountThisWindow() noexcept;
  void ReleaseHookShare() noexcept;

  // Event handlers (NewWindow.cpp, Navigation.cpp)
  void m_ie_NewWindow2(IDispatch** ppDisp, VARIANT_BOOL* Cancel) noexcept;
  void m_ie_NewWindow3(VARIANT_BOOL* Cancel, DWORD dwFlags, BSTR bstrUrlContext, BSTR bstrUrl) noexcept;
  // Either event of one request: decided at the first, followed at the second. `target` is the
  // new window's address, empty when the event does not say; `kind` a window or (IE 7 and
  // later, by NewWindow3's flags) a tab.
  void NewWindowRequest(newwindow::WindowEvent event, VARIANT_BOOL* Cancel, const std::string& target,
                        blocks::BlockKind kind, newwindow::BrowserWord word) noexcept;
  // The decision itself; true to block. `word` is what NewWindow3's flags said of the request.
  bool DecideNewWindow(VARIANT_BOOL* Cancel, const std::string& target, blocks::BlockKind kind,
                       newwindow::BrowserWord word) noexcept;
  void m_ie_BeforeNavigate2() noexcept;
  void m_ie_TitleChange() noexcept;

  // BrowserEvents: the sink's events, each run with a reference of its own on this object.
  void OnBeforeNavigate2() noexcept override;
  void OnTitleChange() noexcept override;
  void OnNewWindow2(VARIANT_BOOL* cancel) noexcept override;
  void OnNewWindow3(VARIANT_BOOL* cancel, BSTR url, BSTR opener, DWORD flags) noexcept override;
  void OnQuit() noexcept override;

  // BlockedWindowOpener (OpenBlocked.cpp): the tray's "Open" for a window this frame blocked.
  void OpenBlocked(const BlockedWindow& window) noexcept override;

  HRESULT DualTypeInfo(ITypeInfo** info) noexcept;

  volatile LONG m_refs = 1;
  win::ComPtr<IUnknown> m_site;
  win::ComPtr<IWebBrowser2> m_ie;
  win::ComPtr<EventSink> m_sink;
  win::ComPtr<ITypeInfo> m_typeInfo;
  bool m_needHandles = false;
  bool m_firstNavigate = false;
  int16_t m_countIE = 0;
  bool m_attachedToFrame = false;  // this object counted a frame window and uses the thread's hooks
  bool m_quit = false;             // the quit routine ran for this attach
  bool m_holdsHooks = false;       // this object's share of the thread's hooks is still taken
  bool m_inTab = false;            // attached to a tab: its frame belongs to another thread
  newwindow::EventPairing m_pairing;  // the answer of a request's first new-window event
  bool m_openingBlocked = false;   // the user asked for a blocked window: let its request through
};

}  // namespace vexbane::ext
