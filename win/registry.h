// Small registry helpers: each opens its key, makes one call and closes the key.
// All return the Win32 error code (ERROR_SUCCESS on success); out-parameters are unchanged on failure.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

namespace vexbane::win {

// Reading needs no write right: a user who may not change HKLM still reads the settings.
inline constexpr REGSAM kReadAccess = KEY_QUERY_VALUE;
// Writes ask for what a value write needs and no more: an installation for every account grants
// Users query, set and create-subkey on the settings key, not the notify or create-link rights
// that the old mask 0x3F asked for as well, which would refuse every limited user's write.
inline constexpr REGSAM kWriteAccess = KEY_QUERY_VALUE | KEY_SET_VALUE;

// Reads a value into a buffer of `bufferSize` bytes pre-filled with spaces. On success
// `bytes` holds the buffer's first `size` bytes as the registry reported them.
LONG QueryValueBytes(HKEY root, const char* path, const char* name, uint32_t bufferSize,
                     std::string& bytes);
// Stores `text` as REG_SZ with its terminating NUL.
LONG SetStringValue(HKEY root, const char* path, const char* name, const std::string& text);
// Reads a REG_DWORD; a value of any other type or size fails with ERROR_UNSUPPORTED_TYPE.
LONG QueryDwordValue(HKEY root, const char* path, const char* name, int32_t& value);
LONG SetDwordValue(HKEY root, const char* path, const char* name, int32_t value);
// True when the key opens and holds a value of that name (of any type).
bool ValueExists(HKEY root, const char* path, const char* name);

}  // namespace vexbane::win
