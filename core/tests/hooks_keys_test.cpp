// Key classification of the keyboard hook: which presses count as the user's click.
#include "core/hooks_keys.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vexbane::hooks {
namespace {

constexpr char kPage[] = "INTERNET EXPLORER_SERVER";
constexpr int32_t kNow = 50000;

KeyEvent Down(uint32_t vk) {
  KeyEvent k;
  k.vk = vk;
  k.down = true;
  k.removed = true;
  return k;
}
KeyEvent Up(uint32_t vk) {
  KeyEvent k = Down(vk);
  k.down = false;
  return k;
}

// Feeds the keys in order on `focusClass` and tells which of them counted ("" when none), as
// their positions ("0", "2,3", ...), and the times the last one left.
struct KeyRun {
  std::string counted;
  ClickTimes times{1234, 0};
};
KeyRun Feed(const std::vector<KeyEvent>& keys, const char* focusClass = kPage) {
  KeyRun run;
  KeyMemory memory;
  for (size_t i = 0; i < keys.size(); ++i) {
    if (OnKey(run.times, memory, keys[i], focusClass, kNow + static_cast<int32_t>(i))) {
      if (!run.counted.empty()) run.counted += ",";
      run.counted += std::to_string(i);
    }
  }
  return run;
}

TEST(KeyClick, EnterCountsWhenItGoesDownAndSetsBothTimesAsAReleaseDoes) {
  KeyRun r = Feed({Down(kVkReturn), Up(kVkReturn)});
  EXPECT_EQ(r.counted, "0");
  EXPECT_EQ(r.times.lngClickTime, kNow);
  EXPECT_EQ(r.times.lngButtonUpTime, kNow) << "HTML dialogs read the release time";
}

TEST(KeyClick, SpaceCountsWhenItComesUp) {
  KeyRun r = Feed({Down(0x09), Up(0x09), Down(kVkSpace), Up(kVkSpace)});
  EXPECT_EQ(r.counted, "3") << "Tab to the button, then Space";
  EXPECT_EQ(r.times.lngClickTime, kNow + 3);
  EXPECT_EQ(Feed({Down(kVkSpace), Up(kVkSpace)}).counted, "1") << "a Space as the first key";
}

TEST(KeyClick, AutoRepeatedEnterCountsOnce) {
  KeyEvent again = Down(kVkReturn);
  again.repeat = true;
  EXPECT_EQ(Feed({Down(kVkReturn), again, again, Up(kVkReturn)}).counted, "0");
  KeyEvent spaceAgain = Down(kVkSpace);
  spaceAgain.repeat = true;
  EXPECT_EQ(Feed({Down(kVkSpace), spaceAgain, spaceAgain, Up(kVkSpace)}).counted, "3");
}

TEST(KeyClick, NoOtherKeyCounts) {
  const uint32_t others[] = {'A', 'Z', '0', '9', 0x09, 0x1B, 0x25, 0x26, 0x27, 0x28, 0x70, 0x74, 0x7B,
                             0x08, 0x2E, 0x21, 0x22, 0x24, 0x23, 0x6B, 0xBE, 0x10, 0x11, 0x5D};
  for (uint32_t vk : others) {
    KeyRun r = Feed({Down(vk), Up(vk)});
    EXPECT_EQ(r.counted, "") << "vk " << vk;
    EXPECT_EQ(r.times.lngClickTime, 1234) << "vk " << vk << " leaves the click time alone";
    EXPECT_EQ(r.times.lngButtonUpTime, 0);
  }
}

TEST(KeyClick, SpaceTypedBetweenWordsDoesNotCountButEnterSubmittingTheTextDoes) {
  // "hi there" then Enter, in a text box of the page.
  std::vector<KeyEvent> keys;
  for (uint32_t vk : std::vector<uint32_t>{'H', 'I', kVkSpace, 'T', 'H', 'E', 'R', 'E', kVkReturn}) {
    keys.push_back(Down(vk));
    keys.push_back(Up(vk));
  }
  EXPECT_EQ(Feed(keys).counted, "16") << "only the Enter";
  // Shift for a capital letter between the word and the Space changes nothing.
  EXPECT_EQ(Feed({Down('A'), Up('A'), Down(0x10), Down(kVkSpace), Up(kVkSpace), Up(0x10)}).counted, "");
  // A Space after leaving the text box with Tab activates the next button.
  EXPECT_EQ(Feed({Down('A'), Up('A'), Down(0x09), Up(0x09), Down(kVkSpace), Up(kVkSpace)}).counted, "5");
  // A second Space on the same button counts again.
  EXPECT_EQ(Feed({Down(kVkSpace), Up(kVkSpace), Down(kVkSpace), Up(kVkSpace)}).counted, "1,3");
}

TEST(KeyClick, AltHeldNeverCounts) {
  KeyEvent enter = Down(kVkReturn);
  enter.altHeld = true;
  EXPECT_EQ(Feed({enter}).counted, "") << "Alt+Enter: properties, full screen";
  KeyEvent spaceDown = Down(kVkSpace), spaceUp = Up(kVkSpace);
  spaceDown.altHeld = true;
  EXPECT_EQ(Feed({spaceDown, Up(kVkSpace)}).counted, "") << "Alt+Space opens the window menu";
  spaceUp.altHeld = true;
  EXPECT_EQ(Feed({Down(kVkSpace), spaceUp}).counted, "") << "Alt pressed before the Space came up";
}

TEST(KeyClick, AKeyOnlyPeekedIsNotCountedUntilTaken) {
  KeyEvent peeked = Down(kVkReturn);
  peeked.removed = false;
  EXPECT_EQ(Feed({peeked}).counted, "");
  EXPECT_EQ(Feed({peeked, Down(kVkReturn)}).counted, "1");
  KeyEvent peekedUp = Up(kVkSpace);
  peekedUp.removed = false;
  EXPECT_EQ(Feed({Down(kVkSpace), peekedUp, peekedUp, Up(kVkSpace)}).counted, "3") << "counted once, when taken";
  KeyEvent peekedDown = Down('A');
  peekedDown.removed = false;
  EXPECT_EQ(Feed({peekedDown, Down(kVkSpace), Up(kVkSpace)}).counted, "2") << "a peeked letter typed nothing yet";
}

TEST(KeyClick, KeysOnTheBrowsersChromeDoNotCount) {
  for (const char* chrome : {"EDIT", "IEFRAME", "TOOLBARWINDOW32", "COMBOLBOX", "", "INTERNET EXPLORER_HIDDEN"}) {
    KeyRun r = Feed({Down(kVkReturn), Up(kVkReturn), Down(kVkSpace), Up(kVkSpace)}, chrome);
    EXPECT_EQ(r.counted, "") << "'" << chrome << "': the address bar's Enter navigates, it opens no window";
    EXPECT_EQ(r.times.lngClickTime, 1234);
  }
  for (const char* page : {"INTERNET EXPLORER_SERVER", "SHELL DOCOBJECT VIEW", "BUTTON", "VEXBANE TEST PAGE"})
    EXPECT_EQ(Feed({Down(kVkReturn)}, page).counted, "0") << page;
}

TEST(KeyClick, TypingAndModifierKeysAreTold) {
  for (uint32_t vk : std::vector<uint32_t>{'A', 'Q', '5', 0x60, 0x6F, 0xBA, 0xC0, 0xDB, 0xDF, 0xE2, 0x08, 0x2E})
    EXPECT_TRUE(IsTypingKey(vk)) << vk;
  for (uint32_t vk : {0x09u, 0x0Du, 0x1Bu, 0x20u, 0x25u, 0x70u, 0x10u, 0x2Du})
    EXPECT_FALSE(IsTypingKey(vk)) << vk;
  for (uint32_t vk : {0x10u, 0x11u, 0x12u, 0xA0u, 0xA5u, 0x14u, 0x5Bu, 0x5Cu}) EXPECT_TRUE(IsModifierKey(vk)) << vk;
  for (uint32_t vk : std::vector<uint32_t>{0x09u, 0x0Du, 'A', 0x5Du}) EXPECT_FALSE(IsModifierKey(vk)) << vk;
}

}  // namespace
}  // namespace vexbane::hooks
