// The sound choice: wave file, beep or silence.
#include "core/block_sound.h"

#include <gtest/gtest.h>

namespace vexbane {
namespace {

TEST(ChooseBlockSound, ZeroPlaysTheProgramFoldersWaveWithAForwardSlash) {
  BlockSound s = ChooseBlockSound(0, "C:\\Program Files\\Vexbane");
  EXPECT_EQ(s.kind, BlockSound::Kind::Wave);
  EXPECT_EQ(s.waveFile, "C:\\Program Files\\Vexbane/Block.wav");
}

TEST(ChooseBlockSound, OneBeeps150HzFor200Ms) {
  BlockSound s = ChooseBlockSound(1, "C:\\x");
  EXPECT_EQ(s.kind, BlockSound::Kind::Beep);
  EXPECT_EQ(s.beepHz, 150u);
  EXPECT_EQ(s.beepMs, 200u);
}

TEST(ChooseBlockSound, EveryOtherChoiceIsSilent) {
  for (int16_t c : {2, 3, -1, 32767}) EXPECT_EQ(ChooseBlockSound(c, "C:\\x").kind, BlockSound::Kind::None) << c;
}

}  // namespace
}  // namespace vexbane
