# Builds tests/win32 (the Windows units and their checks) with the mingw cross compilers,
# once for 32-bit and once for 64-bit Windows, and lists their checks among this build's
# tests, so that ctest runs them under the wine of each architecture (`ctest -L wine`,
# `ctest -L wine64`). Included from tests/CMakeLists.txt.
#
# Machines differ in what they can run: some cannot execute 32-bit programs at all. Once per
# build tree, configure probes whether each wine runs a program that the cross compiler made
# (which also creates that architecture's wine prefix, so the checks' fixture finds it
# ready) and says what it found. Where one cannot, the checks are still built, and each is
# reported by ctest as skipped with the reason.

if(NOT SUMBROOK_WINDOWS_CHECKS)
  message(STATUS "Windows checks: left out (SUMBROOK_WINDOWS_CHECKS is OFF)")
  return()
endif()

# The same compiler cache, when this build uses one (set or taken from the environment).
set(windows_launchers)
foreach(lang C CXX)
  set(launcher ${CMAKE_${lang}_COMPILER_LAUNCHER})
  if(NOT launcher AND DEFINED ENV{CMAKE_${lang}_COMPILER_LAUNCHER})
    set(launcher $ENV{CMAKE_${lang}_COMPILER_LAUNCHER})
  endif()
  if(launcher)
    list(APPEND windows_launchers -DCMAKE_${lang}_COMPILER_LAUNCHER=${launcher})
  endif()
endforeach()

include(ExternalProject)
find_program(SUMBROOK_WINESERVER wineserver)

# Sets `found` to why wine `loader` cannot run programs for `arch` here, or to "" when it
# can: the loader must exist, start (it is itself a program of its architecture: where the
# machine cannot start it, as an i386 one on some x86-64 machines, nothing of that
# architecture runs) and run a program that the cross compiler made.
function(sumbrook_run_wine_probe arch bits loader compiler prefix)
  set(work ${CMAKE_BINARY_DIR}/wine_probe)
  file(MAKE_DIRECTORY ${work})
  set(cannot "this machine cannot run ${bits}-bit programs")
  if(NOT EXISTS "${loader}")
    set(found "wine's ${bits}-bit loader ${loader} is not installed "
              "(scripts/setup-deps installs it where the archive offers it)" PARENT_SCOPE)
    return()
  endif()
  if(NOT SUMBROOK_WINESERVER)
    set(found "wineserver is not installed (scripts/setup-deps installs wine)" PARENT_SCOPE)
    return()
  endif()
  execute_process(COMMAND ${loader} --version RESULT_VARIABLE status
                  OUTPUT_VARIABLE version ERROR_VARIABLE version)
  if(NOT status EQUAL 0 OR NOT version MATCHES "^wine")
    string(STRIP "${version}" version)
    message(STATUS "Windows checks (${bits}-bit): ${loader} --version: ${status} ${version}")
    set(found "${cannot}" PARENT_SCOPE)
    return()
  endif()
  execute_process(
    COMMAND ${compiler} -O2 -o ${work}/runs_here-${arch}.exe ${CMAKE_CURRENT_LIST_DIR}/runs_here.c
    RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE errors)
  if(NOT status EQUAL 0)
    set(found "the ${arch} cross compiler cannot build a program: ${errors}" PARENT_SCOPE)
    return()
  endif()
  message(STATUS "Windows checks (${bits}-bit): trying ${loader} (the first time, it also "
                 "creates the wine prefix, which takes up to a minute)")
  file(REMOVE ${work}/${arch}.result)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY WINEPREFIX=${prefix} WINEDEBUG=-all
            WINEDLLOVERRIDES=mscoree,mshtml=
            ${CMAKE_COMMAND} -DACTION=probe -DWINE=${loader}
            -DWINESERVER=${SUMBROOK_WINESERVER} -DPROGRAM=${work}/runs_here-${arch}.exe
            -DRESULT=${work}/${arch}.result -P ${CMAKE_CURRENT_LIST_DIR}/wine_session.cmake
    OUTPUT_QUIET ERROR_QUIET)
  set(lines "no result")
  if(EXISTS ${work}/${arch}.result)
    file(STRINGS ${work}/${arch}.result lines)
  endif()
  list(GET lines 0 status)
  string(JOIN " " printed ${lines})
  if(status STREQUAL "0")
    set(found "" PARENT_SCOPE)
  elseif(status STREQUAL "126" OR "${status} ${printed}" MATCHES "[Ee]xec format error")
    set(found "${cannot}" PARENT_SCOPE)
  else()
    set(found "wine (${loader}) cannot run a ${bits}-bit program built here "
              "(exit status ${status})" PARENT_SCOPE)
  endif()
endfunction()

# Sets `reason` as sumbrook_run_wine_probe finds it, probing at most once per build tree
# for each loader.
function(sumbrook_probe_wine arch bits loader compiler prefix)
  set(key "${loader}|${compiler}")
  if(NOT DEFINED SUMBROOK_WINE_PROBE_KEY_${arch} OR
     NOT SUMBROOK_WINE_PROBE_KEY_${arch} STREQUAL key)
    sumbrook_run_wine_probe(${arch} ${bits} ${loader} ${compiler} ${prefix})
    string(JOIN "" found ${found})
    set(SUMBROOK_WINE_PROBE_KEY_${arch} "${key}" CACHE INTERNAL "")
    set(SUMBROOK_WINE_PROBE_REASON_${arch} "${found}" CACHE INTERNAL "")
  endif()
  set(reason "${SUMBROOK_WINE_PROBE_REASON_${arch}}" PARENT_SCOPE)
endfunction()

# One cross build of tests/win32 for `arch` (i686 or x86_64).
function(sumbrook_windows_checks arch bits label default_loader)
  find_program(SUMBROOK_MINGW_CXX_${arch} ${arch}-w64-mingw32-g++-posix)
  find_program(SUMBROOK_MINGW_CC_${arch} ${arch}-w64-mingw32-gcc-posix)
  set(SUMBROOK_WINE_LOADER_${arch} ${default_loader} CACHE FILEPATH
      "The wine loader that runs the ${bits}-bit Windows checks")
  set(loader ${SUMBROOK_WINE_LOADER_${arch}})
  if(NOT SUMBROOK_MINGW_CXX_${arch} OR NOT SUMBROOK_MINGW_CC_${arch})
    message(STATUS "Windows checks (${bits}-bit): not built, the ${arch} mingw compiler is "
                   "missing (scripts/setup-deps installs g++-mingw-w64-${arch})")
    return()
  endif()
  set(prefix ${CMAKE_BINARY_DIR}/wineprefix-${arch})
  sumbrook_probe_wine(${arch} ${bits} ${loader} ${SUMBROOK_MINGW_CC_${arch}} ${prefix})
  if(reason)
    message(STATUS "Windows checks (${bits}-bit, label ${label}): skipped, ${reason}")
  else()
    message(STATUS "Windows checks (${bits}-bit, label ${label}): ${loader} runs programs "
                   "built here")
  endif()

  set(binary_dir ${CMAKE_CURRENT_BINARY_DIR}/windows-${arch})
  # Only what the cross build shares with this one: never this build's compiler flags,
  # which may name sanitizers that the cross compiler has no runtime for.
  ExternalProject_Add(windows_checks_${arch}
    SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR}
    BINARY_DIR ${binary_dir}
    CMAKE_ARGS
      -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-${arch}.cmake
      -DCMAKE_BUILD_TYPE=Debug
      -DSUMBROOK_SOURCE_DIR=${CMAKE_SOURCE_DIR}
      -DSUMBROOK_WERROR=${SUMBROOK_WERROR}
      -DSUMBROOK_WINEPREFIX=${prefix}
      -DSUMBROOK_WINE=${loader}
      -DSUMBROOK_WINESERVER=${SUMBROOK_WINESERVER}
      "-DSUMBROOK_WINE_SKIP_REASON=${reason}"
      ${windows_launchers}
    # Its own build decides what is out of date, so edits to the units rebuild the checks.
    BUILD_ALWAYS ON
    INSTALL_COMMAND "")

  # ctest reads the cross build's own test list; before that build exists, one test says so.
  set(tests ${CMAKE_CURRENT_BINARY_DIR}/windows_checks_${arch}.cmake)
  file(WRITE ${tests}
    "if(EXISTS \"${binary_dir}/CTestTestfile.cmake\")\n"
    "  include(\"${binary_dir}/CTestTestfile.cmake\")\n"
    "else()\n"
    "  add_test(WindowsChecks-${arch}.NotBuilt \"${CMAKE_COMMAND}\" -E false)\n"
    "  set_tests_properties(WindowsChecks-${arch}.NotBuilt PROPERTIES LABELS ${label})\n"
    "endif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${tests})
endfunction()

sumbrook_windows_checks(i686 32 wine /usr/lib/wine/wine)
sumbrook_windows_checks(x86_64 64 wine64 /usr/lib/wine/wine64)
