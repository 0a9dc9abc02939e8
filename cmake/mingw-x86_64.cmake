# Cross build for 64-bit Windows with Debian's mingw-w64 compilers. The posix-thread
# variant is used because the units share std::mutex with the rest of the program, which
# the win32-thread variant of GCC 12 does not provide.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(SUMBROOK_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${SUMBROOK_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${SUMBROOK_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${SUMBROOK_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${SUMBROOK_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
