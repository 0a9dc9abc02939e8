# Builds tests/win32 (the Windows units and their checks) with the mingw cross compiler and
# lists its checks among this build's tests, so that ctest runs them under wine
# (`ctest -L wine`). Included from tests/CMakeLists.txt.

find_program(SUMBROOK_MINGW_CXX i686-w64-mingw32-g++-posix)
find_program(SUMBROOK_WINE wine)
if(NOT SUMBROOK_MINGW_CXX OR NOT SUMBROOK_WINE)
  message(STATUS "Windows checks skipped: the i686 mingw compiler or wine is missing "
                 "(scripts/setup-deps installs g++-mingw-w64-i686, wine and wine32)")
  return()
endif()

# The same compiler cache, when this build uses one (set or taken from the environment).
set(win32_launchers)
foreach(lang C CXX)
  set(launcher ${CMAKE_${lang}_COMPILER_LAUNCHER})
  if(NOT launcher AND DEFINED ENV{CMAKE_${lang}_COMPILER_LAUNCHER})
    set(launcher $ENV{CMAKE_${lang}_COMPILER_LAUNCHER})
  endif()
  if(launcher)
    list(APPEND win32_launchers -DCMAKE_${lang}_COMPILER_LAUNCHER=${launcher})
  endif()
endforeach()

include(ExternalProject)
set(win32_binary_dir ${CMAKE_CURRENT_BINARY_DIR}/win32)
# Only what the cross build shares with this one: never this build's compiler flags, which
# may name sanitizers that the cross compiler has no runtime for.
ExternalProject_Add(win32_checks
  SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}
  BINARY_DIR ${win32_binary_dir}
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-i686.cmake
    -DCMAKE_BUILD_TYPE=Debug
    -DSUMBROOK_SOURCE_DIR=${CMAKE_SOURCE_DIR}
    -DSUMBROOK_WERROR=${SUMBROOK_WERROR}
    -DSUMBROOK_WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix
    ${win32_launchers}
  # Its own build decides what is out of date, so edits to the units rebuild the checks.
  BUILD_ALWAYS ON
  INSTALL_COMMAND ""
)

# ctest reads the cross build's own test list; before that build exists, one test says so.
set(win32_tests ${CMAKE_CURRENT_BINARY_DIR}/win32_checks.cmake)
file(WRITE ${win32_tests}
  "if(EXISTS \"${win32_binary_dir}/CTestTestfile.cmake\")\n"
  "  include(\"${win32_binary_dir}/CTestTestfile.cmake\")\n"
  "else()\n"
  "  add_test(Win32Checks.NotBuilt \"${CMAKE_COMMAND}\" -E false)\n"
  "  set_tests_properties(Win32Checks.NotBuilt PROPERTIES LABELS wine)\n"
  "endif()\n")
set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${win32_tests})
