// The decision on a new HTML dialog of this frame.
#include "DialogDecision.h"

#include "TraySignal.h"
#include "core/newwindow_host.h"
#include "ModVexbaneIE.h"
#include "core/hooks_decision.h"
#include "core/settings.h"
#include "core/text.h"

namespace vexbane::ext {
namespace {

// The Ctrl key and the allow list, asked only when the rule gets to them.
class ThreadDialogFacts final : public hooks::DialogFacts {
 public:
  explicit ThreadDialogFacts(const ThreadState& st) : m_st(st) {}
  bool CtrlDown() override { return ::GetKeyState(VK_CONTROL) < 0; }
  // The page address is the one last stored by the new-window decision or a title change.
  bool OnAllowList() override { return CheckWebSite(m_st.strAppPath, m_st.strPageURL) == 0; }

 private:
  const ThreadState& m_st;
};

int16_t ReadSetting16(const char* name) {
  int16_t value = 0;
  AssignIfConverts(value, ReadRegValue(settings::kProductKeyPath, name));
  return value;
}

void RunCloseStep(ThreadState& st, hooks::CloseStep step, int16_t sound, int16_t level) noexcept {
  switch (step) {
    case hooks::CloseStep::CloseDialog:
      ::PostMessageA(st.lngNewDialog, WM_CLOSE, 0, 0);
      break;
    case hooks::CloseStep::SignalTray:
      // The release time is still the one the decision judged: it is cleared after the steps.
      if (PostToTrayButton(st.lngButtonHwnd, settings::kHButton, newwindow::kBlockButtonCaption))
        ReportBlock(st, st.lngFrameHwnd, blocks::BlockKind::Dialog, blocks::ReasonFor(level, st.lngButtonUpTime != 0), level);
      break;
    case hooks::CloseStep::PlaySound:
      PlayBlockSound(st.strAppPath, sound);
      break;
  }
}

}  // namespace

void DecideOnNewDialog(ThreadState& st, hooks::DialogTrigger trigger) noexcept {
  try {
    const int16_t sound = ReadSetting16(settings::kSound);
    const int16_t level = ReadSetting16(settings::kPopup);
    ThreadDialogFacts facts(st);
    hooks::DialogVerdict verdict = hooks::DecideDialog(level, trigger, TimeOfDayMs(), st.lngButtonUpTime, facts);
    if (verdict.close) {
      for (hooks::CloseStep step : verdict.order) RunCloseStep(st, step, sound, level);
    }
    if (verdict.clearButtonUpTime) st.lngButtonUpTime = 0;
  } catch (...) {
  }
}

}  // namespace vexbane::ext
