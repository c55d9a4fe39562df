# Cross-compiles the i686 build with the Windows suites, for 32-bit Wine on machines that start
# 32-bit programs (posix threads: GoogleTest needs std::mutex; the shipped files come from mingw).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(VEXBANE_WIDL i686-w64-mingw32-widl -m32 --win32)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# The environment (WINEPREFIX, DISPLAY, the persistent wineserver) comes from scripts/with-wine.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine)
