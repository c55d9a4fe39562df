/* The entry point of the two shipped programs (VexbaneTray.exe, Unhitch.exe), in place of the C
   runtime's crt2.o: that object is compiled for the Pentium Pro and is linked whole whatever a
   program uses of it. The programs are Windows programs that read nothing of argc/argv or the
   environment, so the start is short: the C library (msvcrt.dll) has set itself up in its own
   DLL start; what remains is the floating-point state, the static constructors, WinMain's
   arguments and the exit that runs the registered destructors. */
#include <windows.h>

#include <stdlib.h>

extern IMAGE_DOS_HEADER __ImageBase;
extern void __main(void);
extern void _fpreset(void);
extern void __set_app_type(int);
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int);

/* The start-up code's own definition, which static destructors are registered with: msvcrt's
   table, run by exit(). */
int __cdecl atexit(void (__cdecl *function)(void)) {
  return _onexit((_onexit_t)function) ? 0 : -1;
}

/* What follows the program's own name on the command line, as WinMain receives it. */
static LPSTR CommandLineArguments(void) {
  LPSTR p = GetCommandLineA();
  int quoted = 0;
  while (*p && (quoted || (*p != ' ' && *p != '\t'))) {
    if (*p == '"') quoted = !quoted;
    ++p;
  }
  while (*p == ' ' || *p == '\t') ++p;
  return p;
}

void __cdecl WinMainCRTStartup(void) {
  STARTUPINFOA startup;
  int show = SW_SHOWDEFAULT;
  __set_app_type(2); /* a windowed program: the C library reports its errors in a message box */
  _fpreset();
  __main(); /* static constructors; their destructors go to atexit */
  startup.cb = sizeof startup;
  GetStartupInfoA(&startup);
  if (startup.dwFlags & STARTF_USESHOWWINDOW) show = startup.wShowWindow;
  exit(WinMain((HINSTANCE)&__ImageBase, NULL, CommandLineArguments(), show));
}
