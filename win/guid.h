// Converts the portable identifier layout to the Windows GUID.
#pragma once
#include <windows.h>

#include <cstring>

#include "core/product_ids.h"

namespace vexbane::win {

inline GUID ToGuid(const ids::Guid& g) noexcept {
  static_assert(sizeof(GUID) == sizeof(ids::Guid), "same layout");
  GUID out;
  std::memcpy(&out, &g, sizeof out);
  return out;
}

}  // namespace vexbane::win
