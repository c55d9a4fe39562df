// One decision per request for a new window, whichever of NewWindow3 and NewWindow2 the browser raises first.
#pragma once

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

// Pairs the two events of one request. Both arrive back to back on the browser thread, so the
// answer of the first is kept until the next event: an event of the other kind is the same
// request and follows that answer (deciding again would use up a second click for one window,
// and report and count it twice); an event of the same kind is a new request, as is any event
// after a request that raised only one of the two.
class EventPairing {
 public:
  PairStep Arrive(WindowEvent event) noexcept;
  // The first event's answer, kept for its partner.
  void Decided(WindowEvent event, bool block) noexcept;
  // Something else happened on the page (a navigation): no partner can follow any more.
  void Forget() noexcept { m_pending = false; }

 private:
  bool m_pending = false;
  WindowEvent m_event = WindowEvent::NewWindow2;
  bool m_block = false;
};

}  // namespace vexbane::newwindow
