# Cross-compiles the i686 build with the Windows suites, for 32-bit Wine on machines that start
# 32-bit programs: the shipped tree's settings with the posix-thread compilers (GoogleTest needs
# std::mutex; the shipped files themselves come from the mingw tree).
include(${CMAKE_CURRENT_LIST_DIR}/mingw-i686.cmake)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
# The environment (WINEPREFIX, DISPLAY, the persistent wineserver) comes from scripts/with-wine.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine)
