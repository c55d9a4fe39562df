// The attach, step by step: each step as the product does it (its own routines) and done
// plainly (the same system calls and nothing else), for the load rows' breakdown.
#pragma once
#include <windows.h>
#include <exdisp.h>

#include <functional>
#include <string>
#include <vector>

namespace vexbane::bench {

struct AttachContext {
  IWebBrowser2* browser = nullptr;  // a stand-in browser on a frame of class "IEFrame"
  std::string folder;               // the program folder the helpers were copied into
};

struct AttachStep {
  const char* name;
  std::function<void()> product;
  std::function<void()> plain;
};

// The steps of one attach and detach, in the order the product runs them. Each step undoes
// what it sets up (events disconnected, hooks removed), so it can be run again.
std::vector<AttachStep> AttachSteps(AttachContext& ctx);

}  // namespace vexbane::bench
