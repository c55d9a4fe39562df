// The dialog decision: whether a newly found HTML dialog is closed, and in which order it is announced.
#pragma once
#include <array>
#include <cstdint>
#include <optional>

#include "core/hooks_messages.h"

namespace vexbane::hooks {

// The facts the decision may need, asked only when the rule reaches them: the allow-list check
// reads a file, and at level 0 nothing beyond the level is looked at.
class DialogFacts {
 public:
  virtual ~DialogFacts() = default;
  virtual bool CtrlDown() = 0;
  virtual bool OnAllowList() = 0;
};

// How long after the last left-button release a dialog counts as opened by the user;
// no value at level 4 (always closed). Level 0 never reaches this table.
std::optional<int32_t> DialogTimeWindow(int16_t level, DialogTrigger trigger);

// The three things a close does.
enum class CloseStep { CloseDialog, SignalTray, PlaySound };
using CloseOrder = std::array<CloseStep, 3>;

// Order A (after a scan message, and always at level 4): close, signal, sound.
// Order B (after a WM_USER message): sound, close, signal.
inline constexpr CloseOrder kCloseOrderA = {CloseStep::CloseDialog, CloseStep::SignalTray, CloseStep::PlaySound};
inline constexpr CloseOrder kCloseOrderB = {CloseStep::PlaySound, CloseStep::CloseDialog, CloseStep::SignalTray};

struct DialogVerdict {
  bool close = false;
  CloseOrder order = kCloseOrderA;  // meaningful only when closing
  bool clearButtonUpTime = false;   // the release was used up by a timed decision
};

// Decides on a new dialog. `buttonUpTime` 0 means no release recorded: outside every window.
DialogVerdict DecideDialog(int16_t level, DialogTrigger trigger, int32_t now, int32_t buttonUpTime,
                           DialogFacts& facts);

}  // namespace vexbane::hooks
