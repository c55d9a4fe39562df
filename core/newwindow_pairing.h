// One decision per request for a new window, whichever of NewWindow3 and NewWindow2 the browser raises first.
#pragma once
#include <cstdint>

namespace vexbane::newwindow {

// The two events a request may raise. IE 5 and IE 6 before XP SP2 raise NewWindow2 alone; later
// browsers raise NewWindow3 first and then NewWindow2 unless a sink cancelled the window or
// supplied one. Hosts have been seen to raise them the other way round too.
enum class WindowEvent { NewWindow2, NewWindow3 };

// What the helper does with an event.
struct PairStep {
  bool decide = true;   // a new request: run the decision
  bool block = false;   // otherwise: the answer the request's first event got
};

// Pairs the two events of one request. A browser raises a request's second event at once,
// while it still handles the message that made the request (IE fires NewWindow2 right after
// NewWindow3 returns, when no sink cancelled the window): only an event of the other kind
// inside that same dispatch follows the first one's answer (deciding again would use up a
// second click for one window, and report and count it twice). An event of the same kind is a
// new request, and so is any event of a later dispatch: the answer of a request that raised
// one event only must never decide another request.
class EventPairing {
 public:
  // `dispatch` names the message the browser thread is handling (a count of the messages it
  // has taken); the same number for both events of one request.
  PairStep Arrive(WindowEvent event, uint32_t dispatch) noexcept;
  // The first event's answer, kept for its partner in the same dispatch.
  void Decided(WindowEvent event, bool block, uint32_t dispatch) noexcept;
  // Something else happened on the page (a navigation): no partner can follow any more.
  void Forget() noexcept { m_pending = false; }

 private:
  bool m_pending = false;
  WindowEvent m_event = WindowEvent::NewWindow2;
  bool m_block = false;
  uint32_t m_dispatch = 0;
};

}  // namespace vexbane::newwindow
