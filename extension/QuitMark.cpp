// Quit tickets: a count shared by every process of the desktop, put on each quitting browser.
#include "QuitMark.h"

#include <climits>

#include "win/bstr.h"

namespace vexbane::ext {
namespace {

constexpr char kTicketsName[] = "VexbaneQuitTickets";
constexpr char kTicketProperty[] = "VexbaneQuitTicket";

// The semaphore's count is the last ticket handed out. It lives while any handle is open, so
// this process keeps its own for its life: a browser marked here stays listed only as long as
// the process lives, and the count never starts again below its ticket meanwhile. Two first
// quits at once may open two handles; both name the one count.
HANDLE g_tickets;

HANDLE Tickets() noexcept {
  if (!g_tickets) g_tickets = ::CreateSemaphoreA(nullptr, 0, LONG_MAX, kTicketsName);
  return g_tickets;
}

// What another program may have left under the name: freed without VariantClear, which the
// helper does not import.
void FreeValue(VARIANT& value) noexcept {
  if (value.vt == VT_BSTR) ::SysFreeString(value.bstrVal);
  if ((value.vt == VT_UNKNOWN || value.vt == VT_DISPATCH) && value.punkVal) value.punkVal->Release();
  ::VariantInit(&value);
}

// The property's name as a BSTR; empty when it cannot be made.
win::UniqueBstr TicketPropertyName() noexcept {
  try {
    return win::BstrFromAnsi(kTicketProperty);
  } catch (...) {
    return {};
  }
}

}  // namespace

long MarkQuitting(IWebBrowser2* browser) noexcept {
  if (!browser) return 0;
  HANDLE tickets = Tickets();
  LONG previous = 0;
  // ReleaseSemaphore is the one increment that the 95 family shares between processes.
  if (!tickets || !::ReleaseSemaphore(tickets, 1, &previous)) return 0;
  const long ticket = previous + 1;
  win::UniqueBstr name = TicketPropertyName();
  if (!name) return 0;
  VARIANT value;
  ::VariantInit(&value);
  value.vt = VT_I4;
  value.lVal = ticket;
  return SUCCEEDED(browser->PutProperty(name.get(), value)) ? ticket : 0;
}

long QuitTicketOf(IWebBrowser2* browser) noexcept {
  if (!browser) return 0;
  win::UniqueBstr name = TicketPropertyName();
  if (!name) return 0;
  VARIANT value;
  ::VariantInit(&value);
  if (FAILED(browser->GetProperty(name.get(), &value))) return 0;
  long ticket = 0;
  if (value.vt == VT_I4) ticket = value.lVal;
  FreeValue(value);
  return ticket > 0 ? ticket : 0;
}

}  // namespace vexbane::ext
