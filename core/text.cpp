// Text rules shared by every deliverable.
#include "text.h"

#include <cmath>
#include <limits>

namespace vexbane {
namespace {

char UpperChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

std::optional<int64_t> ToInteger(std::string_view text, int64_t lo, int64_t hi) {
  std::string t = Trim(text);
  if (t.empty()) return std::nullopt;
  size_t i = 0;
  bool negative = false;
  if (t[0] == '+' || t[0] == '-') {
    negative = t[0] == '-';
    i = 1;
  }
  if (i == t.size()) return std::nullopt;
  int64_t value = 0;
  for (; i < t.size(); ++i) {
    if (t[i] < '0' || t[i] > '9') return std::nullopt;
    value = value * 10 + (t[i] - '0');
    if (value > hi + 1) return std::nullopt;  // keeps the sum far from overflow
  }
  if (negative) value = -value;
  if (value < lo || value > hi) return std::nullopt;
  return value;
}

}  // namespace

std::string Trim(std::string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && text[b] == ' ') ++b;
  while (e > b && text[e - 1] == ' ') --e;
  return std::string(text.substr(b, e - b));
}

std::string ToUpper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = UpperChar(c);
  return out;
}

bool ContainsNoCase(std::string_view haystack, std::string_view needle) {
  if (needle.empty()) return true;
  if (needle.size() > haystack.size()) return false;
  for (size_t i = 0; i + needle.size() <= haystack.size(); ++i) {
    size_t j = 0;
    while (j < needle.size() && UpperChar(haystack[i + j]) == UpperChar(needle[j])) ++j;
    if (j == needle.size()) return true;
  }
  return false;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && ContainsNoCase(a, b);
}

bool HoldsControlCharacter(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) < 0x20) return true;
  return false;
}

std::optional<int16_t> ToInt16(std::string_view text) {
  auto v = ToInteger(text, std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max());
  if (!v) return std::nullopt;
  return static_cast<int16_t>(*v);
}

std::optional<int32_t> ToInt32(std::string_view text) {
  auto v = ToInteger(text, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max());
  if (!v) return std::nullopt;
  return static_cast<int32_t>(*v);
}

int64_t RoundHalfEven(double value) {
  double floor = std::floor(value);
  double diff = value - floor;
  int64_t f = static_cast<int64_t>(floor);
  if (diff < 0.5) return f;
  if (diff > 0.5) return f + 1;
  return (f % 2 == 0) ? f : f + 1;
}

}  // namespace vexbane
