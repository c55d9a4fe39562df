// CVexbaneIEDLL: the decision on each window that the page is about to open.
#include "BrowserProps.h"
#include "CVexbaneIEDLL.h"
#include "ModVexbaneIE.h"
#include "TraySignal.h"
#include "core/newwindow_decision.h"
#include "core/newwindow_host.h"
#include "core/settings.h"
#include "core/text.h"

namespace vexbane::ext {
namespace {

// The decision's questions, answered from the browser, the allow list, the keyboard, the
// registry and the clock at the moment the decision asks them.
class HelperFacts final : public newwindow::Facts {
 public:
  HelperFacts(IWebBrowser2* ie, ThreadState& st, int16_t& countIE) : m_ie(ie), m_st(st), m_countIE(countIE) {}

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

 private:
  IWebBrowser2* m_ie;
  ThreadState& m_st;
  int16_t& m_countIE;
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
    default: return blocks::BlockReason::NoClick;
  }
}

}  // namespace

void CVexbaneIEDLL::m_ie_NewWindow2(IDispatch** /*ppDisp*/, VARIANT_BOOL* Cancel) noexcept {
  try {
    ThreadState* state = CurrentThreadState();
    if (!state) return;  // a thread without a state of its own: the window opens as if no helper ran
    ThreadState& st = *state;
    // The tray program that the attach started may not have published its handles yet.
    if (m_needHandles || !st.lngFormHwnd) {
      st.lngFormHwnd = HandleFromText(ReadRegValue(settings::kProductKeyPath, settings::kHForm), st.lngFormHwnd);
      st.lngButtonHwnd = HandleFromText(ReadRegValue(settings::kProductKeyPath, settings::kHButton), st.lngButtonHwnd);
      m_needHandles = false;
    }
    const int16_t sound = ReadSetting16(settings::kSound);
    const int16_t level = ReadSetting16(settings::kPopup);
    HelperFacts facts(m_ie.get(), st, m_countIE);
    const newwindow::Decision d = newwindow::Decide(level, st.lngClickTime, st.lngTridentDlg != nullptr, facts);
    if (d.clearClickTime) st.lngClickTime = 0;
    if (!d.block) return;
    if (Cancel) *Cancel = VARIANT_TRUE;
    PlayBlockSound(st.strAppPath, sound);
    if (PostToTrayButton(st.lngButtonHwnd, settings::kHButton, newwindow::kBlockButtonCaption))
      // This object's own frame: the thread's last attached frame may be another window's.
      ReportBlock(st, ReadBrowserHwnd(m_ie.get()), blocks::BlockKind::NewWindow, RecordReason(d.reason), level);
  } catch (...) {
  }
}

}  // namespace vexbane::ext
