// CVexbaneIEDLL: opening a window it blocked, after all, when the user asks from the tray's list.
#include "CVexbaneIEDLL.h"

#include <oleauto.h>

#include <string>

#include "core/block_record_v2.h"
#include "win/bstr.h"

namespace vexbane::ext {
namespace {

constexpr long kNavOpenInNewWindow = 0x1;
// IE 7 and later; only a window blocked there can have asked for a tab.
constexpr long kNavOpenInNewTab = 0x800;

}  // namespace

// The browser raises its new-window events for this request as for any other; the flag lets
// that one request through undecided, so it is neither blocked again nor counted.
void CVexbaneIEDLL::OpenBlocked(const BlockedWindow& window) noexcept {
  if (!m_ie || window.targetUrl.empty()) return;
  AddRef();  // the browser's events may take the site away meanwhile
  try {
    win::UniqueBstr url = win::BstrFromAnsi(window.targetUrl);
    // The page as referrer, so the site sees the window come from its own page; never a text
    // that could end the header early.
    std::string header;
    if (!window.pageUrl.empty() && !blocks::HasControlBytes(window.pageUrl))
      header = "Referer: " + window.pageUrl + "\r\n";
    win::UniqueBstr headers = win::BstrFromAnsi(header);
    if (url) {
      VARIANT vUrl, vFlags, vEmpty, vHeaders;
      ::VariantInit(&vUrl);
      V_VT(&vUrl) = VT_BSTR;
      V_BSTR(&vUrl) = url.get();
      ::VariantInit(&vFlags);
      V_VT(&vFlags) = VT_I4;
      V_I4(&vFlags) = window.asTab ? kNavOpenInNewTab : kNavOpenInNewWindow;
      ::VariantInit(&vEmpty);
      ::VariantInit(&vHeaders);
      if (headers && !header.empty()) {
        V_VT(&vHeaders) = VT_BSTR;
        V_BSTR(&vHeaders) = headers.get();
      }
      win::ComPtr<IWebBrowser2> browser = m_ie;
      // A request of its own: an earlier request's answer must not be taken for this one's.
      m_pairing.Forget();
      m_openingBlocked = true;
      browser->Navigate2(&vUrl, &vFlags, &vEmpty, &vEmpty, &vHeaders);
      m_openingBlocked = false;
    }
  } catch (...) {
    m_openingBlocked = false;
  }
  Release();
}

}  // namespace vexbane::ext
