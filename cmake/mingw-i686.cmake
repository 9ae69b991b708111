# Cross-building for 32-bit Windows with MinGW-w64 (posix threads model). Programs built with it run
# under Wine through cmake/wine-run.sh, which ctest uses as the emulator.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
# Extra prefixes (the cross-built libpng and GoogleTest) go into the root path itself: with the ONLY
# modes below, CMAKE_PREFIX_PATH would be re-rooted under it and find nothing.
set(ZANDREL_MINGW_PREFIXES "" CACHE STRING "Extra MinGW install prefixes to search")
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32 ${ZANDREL_MINGW_PREFIXES})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
