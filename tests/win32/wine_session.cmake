# The wine side of the checks: one prefix per architecture (WINEPREFIX, from the test's
# environment) that every check of that architecture shares. WINE is the loader of that
# architecture (/usr/lib/wine/wine or /usr/lib/wine/wine64), called directly: Debian's
# `wine` script would pick the 32-bit one whenever it is installed.
# usage: cmake -DACTION=start|stop -DWINE=<loader> -DWINESERVER=<wineserver> -P wine_session.cmake
#        cmake -DACTION=run -DWINE=<loader> -DPROGRAM=<checks.exe> -DCHECK=<name> -DLOG=<file> -P wine_session.cmake
#        cmake -DACTION=probe -DWINE=<loader> -DWINESERVER=<wineserver> -DPROGRAM=<program.exe> -DRESULT=<file> -P wine_session.cmake
#        cmake -DACTION=skip -DREASON=<text> -P wine_session.cmake
#
# start: creates the prefix once (about ten seconds), then keeps a server and wine's own
#   system processes running for it, so that a check starts in a fraction of a second
#   instead of over a second. They end by themselves a minute after the last check.
# stop: ends them now.
# run: runs one check and prints what it wrote.
# probe: creates the prefix if need be and runs PROGRAM in it; writes to RESULT the exit
#   status (0 when it ran), then what wine printed. Never fails itself.
# skip: prints why a check is not run, in the form the tests' SKIP_REGULAR_EXPRESSION knows.
#
# Wine's output always goes to files, never through pipes: its background processes
# inherit the output of whoever started them, and would hold a test's pipe open, and with
# it the test, until they end.

if(ACTION STREQUAL "skip")
  message("SKIPPED: ${REASON}")
  return()
endif()

set(prefix "$ENV{WINEPREFIX}")
if(prefix STREQUAL "")
  message(FATAL_ERROR "wine_session: WINEPREFIX is not set")
endif()

set(session_log "${prefix}.log")
set(quiet OUTPUT_FILE "${session_log}" ERROR_FILE "${session_log}")

# Creates the prefix unless it exists; `status` is 0 or why it could not.
macro(create_prefix)
  set(status 0)
  if(NOT EXISTS "${prefix}/system.reg")
    execute_process(COMMAND ${WINE} wineboot.exe -i RESULT_VARIABLE status ${quiet})
    if(status EQUAL 0)
      # Until the new prefix is written out and its system processes have ended.
      execute_process(COMMAND ${WINESERVER} -w ${quiet})
    endif()
  endif()
endmacro()

if(ACTION STREQUAL "start")
  create_prefix()
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "wine_session: wineboot -i failed (${status}) in ${prefix}")
  endif()
  # Fails harmlessly when a server of this prefix is still running from an earlier run.
  execute_process(COMMAND ${WINESERVER} -p60 ${quiet})
  # Starts the system processes while the output goes to the session log.
  execute_process(COMMAND ${WINE} cmd.exe /c exit RESULT_VARIABLE status ${quiet})
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "wine_session: wine does not start programs in ${prefix} (${status})")
  endif()
elseif(ACTION STREQUAL "stop")
  execute_process(COMMAND ${WINESERVER} -k ${quiet})
elseif(ACTION STREQUAL "probe")
  create_prefix()
  if(status EQUAL 0)
    execute_process(COMMAND ${WINE} ${PROGRAM} RESULT_VARIABLE status ${quiet})
  endif()
  # A loader that cannot be executed at all leaves the reason in `status` instead of a number.
  set(printed "")
  if(EXISTS "${session_log}")
    file(READ "${session_log}" printed LIMIT 2000)
  endif()
  file(WRITE "${RESULT}" "${status}\n${printed}")
elseif(ACTION STREQUAL "run")
  execute_process(COMMAND ${WINE} ${PROGRAM} ${CHECK} RESULT_VARIABLE status
                  OUTPUT_FILE "${LOG}" ERROR_FILE "${LOG}")
  execute_process(COMMAND ${CMAKE_COMMAND} -E cat "${LOG}")
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${CHECK} failed (exit status ${status})")
  endif()
else()
  message(FATAL_ERROR "wine_session: ACTION must be start, stop, run, probe or skip")
endif()
