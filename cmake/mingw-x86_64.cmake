# Cross-compiles the same sources as 64-bit Windows binaries, to run the Windows suites under
# wine64: these machines cannot execute 32-bit Linux programs, so 32-bit Wine does not start.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(VEXBANE_WIDL x86_64-w64-mingw32-widl -m64 --win64)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# The environment (WINEPREFIX, DISPLAY, the persistent wineserver) comes from scripts/with-wine.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
