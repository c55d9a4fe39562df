// CVexbaneIEDLL: the decision on each window that the page is about to open.
#include "BlockedHostList.h"
#include "BrowserProps.h"
#include "CVexbaneIEDLL.h"
#include "ModVexbaneIE.h"
#include "TraySignal.h"
#include "core/newwindow_decision.h"
#include "core/newwindow_flags.h"
#include "core/newwindow_host.h"
#include "core/recent_blocks.h"
#include "core/settings.h"
#include "core/text.h"
#include "win/bstr.h"

namespace vexbane::ext {
namespace {

// The decision's questions, answered from the browser, the allow list, the keyboard, the
// registry and the clock at the moment the decision asks them.
class HelperFacts final : public newwindow::Facts {
 public:
  HelperFacts(IWebBrowser2* ie, ThreadState& st, int16_t& countIE, const std::string& target)
      : m_ie(ie), m_st(st), m_countIE(countIE), m_target(target) {}

  bool PageOnAllowList() override {
    ReadLocationURL(m_ie, m_st.strPageURL);
    return CheckWebSite(m_st.strAppPath, m_st.strPageURL) == 0;
  }
  bool CtrlDown() override { return ::GetKeyState(VK_CONTROL) < 0; }
  int16_t CountIE() override {
    AssignIfConverts(m_countIE, ReadRegValue(settings::kProductKeyPath, settings::kCountIE));
    return m_countIE;
  }
  int32_t Now() override { return TimeOfDayMs(); }
  bool TargetOnBlockedHosts() override {
    if (m_target.empty()) return false;  // NewWindow2 does not say where the window goes
    return BlockedHostListHas(m_st.strAppPath + "\\" + settings::kBlockedHostFile, blocks::SiteOfAddress(m_target));
  }

 private:
  IWebBrowser2* m_ie;
  ThreadState& m_st;
  int16_t& m_countIE;
  const std::string& m_target;
};

int16_t ReadSetting16(const char* name) {
  int16_t value = 0;  // a text that is no 16-bit number leaves 0: level off, wave sound
  AssignIfConverts(value, ReadRegValue(settings::kProductKeyPath, name));
  return value;
}

blocks::BlockReason RecordReason(newwindow::Reason reason) noexcept {
  switch (reason) {
    case newwindow::Reason::BlockAll: return blocks::BlockReason::BlockAll;
    case newwindow::Reason::LateClick: return blocks::BlockReason::LateClick;
    case newwindow::Reason::BlockedHost: return blocks::BlockReason::BlockedHost;
    case newwindow::Reason::PageClosing: return blocks::BlockReason::PageClosing;
    default: return blocks::BlockReason::NoClick;
  }
}

}  // namespace

void CVexbaneIEDLL::m_ie_NewWindow2(IDispatch** /*ppDisp*/, VARIANT_BOOL* Cancel) noexcept {
  NewWindowRequest(newwindow::WindowEvent::NewWindow2, Cancel, std::string(), blocks::BlockKind::NewWindow,
                   newwindow::BrowserWord::None);
}

void CVexbaneIEDLL::m_ie_NewWindow3(VARIANT_BOOL* Cancel, DWORD dwFlags, BSTR /*bstrUrlContext*/,
                                    BSTR bstrUrl) noexcept {
  std::string target;
  try {
    target = win::AnsiFromBstr(bstrUrl);
  } catch (...) {
  }
  NewWindowRequest(newwindow::WindowEvent::NewWindow3, Cancel, target, newwindow::KindOfRequest(dwFlags),
                   newwindow::WordOfFlags(dwFlags));
}

void CVexbaneIEDLL::NewWindowRequest(newwindow::WindowEvent event, VARIANT_BOOL* Cancel, const std::string& target,
                                     blocks::BlockKind kind, newwindow::BrowserWord word) noexcept {
  const ThreadState* state = CurrentThreadState();
  const uint32_t dispatch = state ? state->messagesTaken : 0;
  const newwindow::PairStep step = m_pairing.Arrive(event, dispatch);
  if (!step.decide) {
    // The request's other event decided, signalled and counted it already.
    if (step.block && Cancel) *Cancel = VARIANT_TRUE;
    return;
  }
  // A window the user opened from the tray's list: neither decided nor counted.
  const bool block = m_openingBlocked ? false : DecideNewWindow(Cancel, target, kind, word);
  m_pairing.Decided(event, block, dispatch);
}

bool CVexbaneIEDLL::DecideNewWindow(VARIANT_BOOL* Cancel, const std::string& target, blocks::BlockKind kind,
                                    newwindow::BrowserWord word) noexcept {
  bool blocked = false;
  try {
    ThreadState* state = CurrentThreadState();
    if (!state) return false;  // a thread without a state of its own: the window opens as if no helper ran
    ThreadState& st = *state;
    // The tray program that the attach started may not have published its handles yet.
    if (m_needHandles || !st.lngFormHwnd) {
      st.lngFormHwnd = HandleFromText(ReadRegValue(settings::kProductKeyPath, settings::kHForm), st.lngFormHwnd);
      st.lngButtonHwnd = HandleFromText(ReadRegValue(settings::kProductKeyPath, settings::kHButton), st.lngButtonHwnd);
      m_needHandles = false;
    }
    const int16_t sound = ReadSetting16(settings::kSound);
    const int16_t level = ReadSetting16(settings::kPopup);
    HelperFacts facts(m_ie.get(), st, m_countIE, target);
    const newwindow::Decision d = newwindow::Decide(level, st.lngClickTime, st.lngTridentDlg != nullptr, facts, word);
    if (d.clearClickTime) st.lngClickTime = 0;
    if (!d.block) return false;
    blocked = true;
    if (Cancel) *Cancel = VARIANT_TRUE;
    PlayBlockSound(st.strAppPath, sound);
    if (PostToTrayButton(st.lngButtonHwnd, settings::kHButton, newwindow::kBlockButtonCaption)) {
      // This object's own frame: the thread's last attached frame may be another window's.
      const HWND frame = ReadBrowserHwnd(m_ie.get());
      const uint32_t id = st.blockedWindows.Remember(frame, target, st.strPageURL, kind == blocks::BlockKind::NewTab);
      ReportBlock(st, frame, kind, RecordReason(d.reason), level, target, id);
    }
  } catch (...) {
  }
  return blocked;
}

}  // namespace vexbane::ext
