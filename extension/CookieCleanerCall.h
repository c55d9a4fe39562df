// The one call of the external cookie-cleaning component.
#pragma once

namespace vexbane::ext {

// Creates CookieCleaner, calls its first own method with the code string and releases it.
// Returns once the component is done; a missing or failing component changes nothing.
void RunCookieCleaner() noexcept;

}  // namespace vexbane::ext
