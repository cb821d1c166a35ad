# Cross build for 64-bit Windows with the mingw-w64 compilers (POSIX thread
# model), e.g. the Debian package g++-mingw-w64-x86-64-posix.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(LINECHAIN_MINGW_PREFIX x86_64-w64-mingw32 CACHE STRING "Target triplet of the cross compilers")
find_program(CMAKE_CXX_COMPILER NAMES ${LINECHAIN_MINGW_PREFIX}-g++-posix ${LINECHAIN_MINGW_PREFIX}-g++ REQUIRED)

# Look for libraries and headers in the target's tree only, programs on the host.
set(CMAKE_FIND_ROOT_PATH /usr/${LINECHAIN_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Programs built here run on this machine under Wine when it is installed
# (Debian: wine64, whose loader is /usr/lib/wine/wine64).
find_program(LINECHAIN_WINE NAMES wine64 HINTS /usr/lib/wine)
if(LINECHAIN_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${LINECHAIN_WINE})
endif()
