// The one call that the browser helper and the tray program make of the cookie-cleaning component.
#pragma once

namespace vexbane::cookieclient {

// Creates CookieCleaner by its class id, calls its first own method with the code string and
// releases it. Returns once the component is done; a missing or failing component changes nothing.
void RunCookieCleaner() noexcept;

}  // namespace vexbane::cookieclient
