// Which sound announces a blocked window, by the "Sound" choice.
#pragma once
#include <cstdint>
#include <string>

namespace vexbane {

struct BlockSound {
  enum class Kind { None, Wave, Beep } kind = Kind::None;
  std::string waveFile;     // for Wave: played asynchronously, the system default if it is missing
  uint32_t beepHz = 0;      // for Beep
  uint32_t beepMs = 0;
};

// 0: the program folder's "Block.wav" (joined with a forward slash, as the sound call takes it);
// 1: the internal beep, 150 Hz for 200 ms; any other choice: silence.
BlockSound ChooseBlockSound(int16_t choice, const std::string& appPath);

}  // namespace vexbane
