// The helper's module routines.
#include "ModVexbaneIE.h"

#include <windows.h>

#include "WebSiteList.h"

#include "core/block_sound.h"
#include "core/program_folder.h"
#include "core/settings.h"
#include "core/time_of_day.h"
#include "win/occasional_calls.h"
#include "win/registry.h"

namespace vexbane::ext {

std::string ReadRegValue(const std::string& keyPath, const std::string& valueName) noexcept {
  try {
    std::string bytes;
    if (win::QueryValueBytes(HKEY_LOCAL_MACHINE, keyPath.c_str(), valueName.c_str(),
                             settings::kValueBufferSize, bytes) != ERROR_SUCCESS)
      return settings::kTextFallback;
    auto text = settings::TextFromValueBuffer(bytes.data(), static_cast<uint32_t>(bytes.size()), false);
    return text ? *text : settings::kTextFallback;
  } catch (...) {
    return settings::kTextFallback;
  }
}

void WriteRegValue(const std::string& valueName, const std::string& text) noexcept {
  win::SetStringValue(HKEY_LOCAL_MACHINE, settings::kProductKeyPath, valueName.c_str(), text);
}

int16_t CheckWebSite(const std::string& appPath, const std::string& pageUrl) noexcept {
  // Without its own folder (a module path beyond MAX_PATH) the list would be "\WebSite.dat",
  // created at the current drive's root: no list, nothing allowed beyond the level's rules.
  if (!IsAbsoluteFolder(appPath)) return 1;
  try {
    return WebSiteListAllows(appPath + "\\" + settings::kAllowListFile, pageUrl) ? 0 : 1;
  } catch (...) {
    return 1;
  }
}

int32_t TimeOfDayMs() noexcept {
  SYSTEMTIME t;
  ::GetLocalTime(&t);
  return TimeOfDayFromParts(t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
}

void PlayBlockSound(const std::string& appPath, int16_t choice) noexcept {
  try {
    BlockSound s = ChooseBlockSound(choice, appPath);
    switch (s.kind) {
      case BlockSound::Kind::Wave:
        // No SND_FILENAME and no SND_NODEFAULT: a missing file still gives the default sound.
        win::PlaySoundAsync(s.waveFile.c_str());
        break;
      case BlockSound::Kind::Beep:
        ::Beep(s.beepHz, s.beepMs);
        break;
      case BlockSound::Kind::None:
        break;
    }
  } catch (...) {
  }
}

}  // namespace vexbane::ext
