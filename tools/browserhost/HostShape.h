// The shapes of browser the stand-in can take: Internet Explorer 6's one browser per frame
// window, and the tabs of Internet Explorer 7 and 8 (several browsers, each on its own thread,
// below one frame that has a thread of its own, or, in 8, lives in another process).
#pragma once
#include <functional>
#include <memory>
#include <string>

namespace vexbane::host {

enum class Shape { IE6, IE7, IE8 };

struct ShapeOptions {
  Shape shape = Shape::IE6;
  // Whether a closing tab fires OnQuit before its site is taken away; which one Internet
  // Explorer does is not settled, so both are played.
  bool tabQuitEvent = true;
  // The program that opens an IE 8 frame in a process of its own; empty: this program.
  std::string frameProgram;

  // Run on each tab's thread, in its apartment, before its browser is made; what it returns
  // lives until the thread ends (tests register their stand-in components there).
  std::function<std::shared_ptr<void>()> tabThreadSetup;

  bool tabbed() const noexcept { return shape != Shape::IE6; }
};

// "ie6", "ie7", "ie7-noquit", "ie8", "ie8-noquit"; false (and `out` unchanged) for anything else.
bool ParseShape(const std::string& text, ShapeOptions& out);
std::string ShapeName(const ShapeOptions& shape);

}  // namespace vexbane::host
