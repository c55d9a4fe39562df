// Pairing NewWindow3 and NewWindow2 of one request.
#include "newwindow_pairing.h"

namespace vexbane::newwindow {

PairStep EventPairing::Arrive(WindowEvent event, uint32_t dispatch) noexcept {
  PairStep step;
  if (m_pending && m_event != event && m_dispatch == dispatch) {
    step.decide = false;
    step.block = m_block;
  }
  m_pending = false;
  return step;
}

void EventPairing::Decided(WindowEvent event, bool block, uint32_t dispatch) noexcept {
  m_pending = true;
  m_dispatch = dispatch;
  m_event = event;
  m_block = block;
}

}  // namespace vexbane::newwindow
