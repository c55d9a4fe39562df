// The helper's module routines: settings access, the allow-list check, the clock and the block sound.
#pragma once
#include <cstdint>
#include <string>

namespace vexbane::ext {

// Text of a value under HKEY_LOCAL_MACHINE\keyPath, trimmed (letter case kept);
// "1" when the key or value cannot be read, the text needs 255 bytes or more, or no bytes are stored.
std::string ReadRegValue(const std::string& keyPath, const std::string& valueName) noexcept;

// Writes REG_SZ text (with its NUL) under the settings key; a failure changes nothing.
void WriteRegValue(const std::string& valueName, const std::string& text) noexcept;

// 0 when an allow-list entry of "<appPath>\WebSite.dat" occurs in `pageUrl` (any letter case),
// 1 otherwise or when the list cannot be read. A missing file is created empty. The list stays
// compiled between calls and is read again whenever the file may have changed (WebSiteList.h).
// An `appPath` that is no absolute folder (IsAbsoluteFolder) gives 1 and touches no file.
int16_t CheckWebSite(const std::string& appPath, const std::string& pageUrl) noexcept;

// Milliseconds since local midnight.
int32_t TimeOfDayMs() noexcept;

// Announces a block: 0 the wave file (asynchronous), 1 the beep, anything else nothing.
void PlayBlockSound(const std::string& appPath, int16_t choice) noexcept;

}  // namespace vexbane::ext
