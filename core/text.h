// Text rules shared by every deliverable: trimming, ANSI case folding, substring tests, number conversion.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vexbane {

// Strips spaces (only the space character, as the stored settings use it) at both ends.
std::string Trim(std::string_view text);

// Upper-cases ASCII letters; other bytes of the ANSI code page stay as they are.
std::string ToUpper(std::string_view text);

// True when `needle` occurs in `haystack`, letters compared without regard to case.
// An empty needle occurs in every text.
bool ContainsNoCase(std::string_view haystack, std::string_view needle);

// True when both texts are equal, letters compared without regard to case.
bool EqualsNoCase(std::string_view a, std::string_view b);

// True when the text holds a control character (a byte below 0x20: CR, LF, TAB, ...), which
// no page address, site or allow-list entry holds.
bool HoldsControlCharacter(std::string_view text);

// "Convert text to a 16-bit (32-bit) integer": surrounding spaces allowed, an optional sign,
// decimal digits only, and the number must fit the range. Anything else gives no value, so the
// caller's target stays as it was.
std::optional<int16_t> ToInt16(std::string_view text);
std::optional<int32_t> ToInt32(std::string_view text);

// Assigns the converted value only when the conversion succeeds.
template <typename T>
void AssignIfConverts(T& target, std::string_view text);

template <>
inline void AssignIfConverts<int16_t>(int16_t& target, std::string_view text) {
  if (auto v = ToInt16(text)) target = *v;
}
template <>
inline void AssignIfConverts<int32_t>(int32_t& target, std::string_view text) {
  if (auto v = ToInt32(text)) target = *v;
}

// Rounds to the nearest integer, an exact half to the even neighbour (banker's rounding).
int64_t RoundHalfEven(double value);

}  // namespace vexbane
