# The wine side of the checks: one prefix (WINEPREFIX, from the test's environment) that
# every check shares.
# usage: cmake -DACTION=start|stop -DWINE=<wine> -DWINEBOOT=<wineboot> -DWINESERVER=<wineserver> -P wine_session.cmake
#        cmake -DACTION=run -DWINE=<wine> -DPROGRAM=<checks.exe> -DCHECK=<name> -DLOG=<file> -P wine_session.cmake
#
# start: creates the prefix once (about ten seconds), then keeps a server and wine's own
#   system processes running for it, so that a check starts in a fraction of a second
#   instead of over a second. They end by themselves a minute after the last check.
# stop: ends them now.
# run: runs one check and prints what it wrote.
#
# Wine's output always goes to files, never through pipes: its background processes
# inherit the output of whoever started them, and would hold a test's pipe open, and with
# it the test, until they end.

set(prefix "$ENV{WINEPREFIX}")
if(prefix STREQUAL "")
  message(FATAL_ERROR "wine_session: WINEPREFIX is not set")
endif()

set(session_log "${prefix}.log")
set(quiet OUTPUT_FILE "${session_log}" ERROR_FILE "${session_log}")

if(ACTION STREQUAL "start")
  if(NOT EXISTS "${prefix}/system.reg")
    execute_process(COMMAND ${WINEBOOT} -i RESULT_VARIABLE status ${quiet})
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "wine_session: wineboot -i failed (${status}) in ${prefix}")
    endif()
    # Until the new prefix is written out and its system processes have ended.
    execute_process(COMMAND ${WINESERVER} -w ${quiet})
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
elseif(ACTION STREQUAL "run")
  execute_process(COMMAND ${WINE} ${PROGRAM} ${CHECK} RESULT_VARIABLE status
                  OUTPUT_FILE "${LOG}" ERROR_FILE "${LOG}")
  execute_process(COMMAND ${CMAKE_COMMAND} -E cat "${LOG}")
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${CHECK} failed (exit status ${status})")
  endif()
else()
  message(FATAL_ERROR "wine_session: ACTION must be start, stop or run")
endif()
