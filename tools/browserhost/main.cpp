// The stand-in browser host: runs a scenario from a file or stdin against the registered helper.
#include <windows.h>
#include <objbase.h>

#include <cstdlib>
#include <fstream>
#include <iostream>

#include "HostShape.h"
#include "Scenario.h"
#include "TabFrame.h"

namespace {

const char kUsage[] =
    "usage: browserhost [--shape SHAPE] [SCENARIO-FILE]   (no file: commands from stdin)\n"
    "shapes: ie6 (default: one browser per frame window, all on this thread), ie7 (tabs: the\n"
    "  IEFrame on a thread of its own, each tab a browser on its own thread below it; a closing\n"
    "  tab fires OnQuit, then loses its site), ie8 (as ie7, the frame in another process of this\n"
    "  program), ie7-noquit and ie8-noquit (a closing tab only loses its site)\n"
    "commands, one a line ('#' starts a comment):\n"
    "  open [CLASS]        a browser window (frame class IEFrame unless named) with its helper\n"
    "  second window       another IEFrame window on the same thread; it becomes current\n"
    "  window N            makes the N-th window opened current\n"
    "  navigate URL        fires BeforeNavigate2\n"
    "  title TEXT          fires TitleChange\n"
    "  click               a real left click in the middle of the page\n"
    "  ctrl down|up        presses or releases the Ctrl key\n"
    "  key NAME [down|up]  a real key on the page (focus there): press and release, or one half\n"
    "                      (a second down is an auto-repeat); NAME: enter, space, tab, escape,\n"
    "                      backspace, left, right, up, down, f1..f12, a letter or digit, after\n"
    "                      any of shift+, ctrl+, alt+\n"
    "  browser ie6|sp2     the new-window events: NewWindow2 alone (IE 5, IE 6 before XP SP2), or\n"
    "                      NewWindow3 then NewWindow2 unless cancelled (IE 6 SP2 and later); for\n"
    "                      tests also 3-only and 2-then-3. ie6 until this command\n"
    "  newwindow [URL]     a request for a new window to URL; reports allowed or blocked\n"
    "  newtab [URL]        the same, NewWindow3's flags suggesting a new tab (NWMF_SUGGESTTAB)\n"
    "  newwindow-flags F [URL]  the same with NewWindow3's flags F (0x80 NWMF_USERREQUESTED,\n"
    "                      0x100 NWMF_USERALLOWED, 0x1 NWMF_UNLOADING; usually 0x6)\n"
    "  opened              the windows each browser opened on the helper's request (\"Open\")\n"
    "  dialog open|close   an HTML dialog window owned by the frame\n"
    "  dialog check        reports whether the dialog window still exists\n"
    "  post 0x0491|0x0400  posts the message to the browser thread\n"
    "  tray state          prints the running tray program's state (after what was posted to it)\n"
    "  tray click          a left click on the tray icon, then the state\n"
    "  tray command ID     the tray menu item with this command id or name, then the state\n"
    "  tray menu           a right click on the tray icon: its pop-up menu opens at the mouse pointer\n"
    "  tray blocked        opens the tray's \"Recently Blocked\" window; prints its counters and rows\n"
    "  tray allow-site N   selects row N there and presses \"Allow Site\"; prints the status line\n"
    "  tray open N         selects row N there and presses \"Open\"; prints the status line\n"
    "  tray block-host N   selects row N there and presses \"Block Host\"; prints the status line\n"
    "  setting NAME        prints a value of the product's settings key\n"
    "  tls exhaust|release takes every TLS slot left in the process, or gives them back\n"
    "  wait MS             pumps messages for MS milliseconds\n"
    "  wait tray           pumps messages until at most one VexbaneTray.exe runs (20 s at most)\n"
    "  fullname PATH       the program path the browser object reports\n"
    "  quit [N ...]        fires OnQuit and closes the window; in the tab shapes its tabs are torn\n"
    "                      down one by one, each on its thread, tabs N first in that order\n"
    "  quit together N ... (tab shapes) tabs N quit at the same moment, released by one event;\n"
    "                      the window's other tabs and the frame follow\n"
    "  tab new             (tab shapes) opens another tab in the current window and shows it\n"
    "  tab N               (tab shapes) shows the N-th tab of the current window\n"
    "  tab close           (tab shapes) closes the tab shown; the window goes with its last tab\n"
    "  echo TEXT           prints TEXT\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && (std::string(argv[1]) == "-h" || std::string(argv[1]) == "--help")) {
    std::cout << kUsage;
    return 0;
  }
  if (argc == 4 && std::string(argv[1]) == vexbane::host::kFrameProcessSwitch)
    return vexbane::host::RunFrameProcess(std::strtoul(argv[2], nullptr, 10), argv[3]);
  vexbane::host::ShapeOptions shape;
  if (argc > 2 && std::string(argv[1]) == "--shape") {
    if (!vexbane::host::ParseShape(argv[2], shape)) {
      std::cerr << "browserhost: unknown shape " << argv[2] << "\n";
      return 1;
    }
    argv += 2;
    argc -= 2;
  }
  if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
  int status = 0;
  if (argc > 1) {
    std::ifstream file(argv[1]);
    if (!file) {
      std::cerr << "browserhost: cannot open " << argv[1] << "\n";
      status = 1;
    } else {
      status = vexbane::host::RunScenario(file, std::cout, shape);
    }
  } else {
    status = vexbane::host::RunScenario(std::cin, std::cout, shape);
  }
  ::CoUninitialize();
  return status;
}
