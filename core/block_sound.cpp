// Which sound announces a blocked window.
#include "block_sound.h"

namespace vexbane {

BlockSound ChooseBlockSound(int16_t choice, const std::string& appPath) {
  BlockSound s;
  if (choice == 0) {
    s.kind = BlockSound::Kind::Wave;
    s.waveFile = appPath + "/Block.wav";
  } else if (choice == 1) {
    s.kind = BlockSound::Kind::Beep;
    s.beepHz = 150;
    s.beepMs = 200;
  }
  return s;
}

}  // namespace vexbane
