// The stand-in browser's shapes by name.
#include "HostShape.h"

namespace vexbane::host {

bool ParseShape(const std::string& text, ShapeOptions& out) {
  ShapeOptions parsed = out;
  std::string name = text;
  parsed.tabQuitEvent = true;
  const std::string noQuit = "-noquit";
  if (name.size() > noQuit.size() && name.compare(name.size() - noQuit.size(), noQuit.size(), noQuit) == 0) {
    parsed.tabQuitEvent = false;
    name.erase(name.size() - noQuit.size());
  }
  if (name == "ie6" && parsed.tabQuitEvent) {
    parsed.shape = Shape::IE6;
  } else if (name == "ie7") {
    parsed.shape = Shape::IE7;
  } else if (name == "ie8") {
    parsed.shape = Shape::IE8;
  } else {
    return false;
  }
  out = parsed;
  return true;
}

std::string ShapeName(const ShapeOptions& shape) {
  switch (shape.shape) {
    case Shape::IE6: return "ie6";
    case Shape::IE7: return shape.tabQuitEvent ? "ie7" : "ie7-noquit";
    case Shape::IE8: return shape.tabQuitEvent ? "ie8" : "ie8-noquit";
  }
  return "ie6";
}

}  // namespace vexbane::host
