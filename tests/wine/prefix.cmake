# The Wine prefix of the tests:
#   cmake -D ACTION=make|stop -D WINE=<loader> -D WINESERVER=<server>
#         -D PREFIX=<folder> -P prefix.cmake
# make: a fresh prefix, with Wine's slow first start done and finished.
# stop: ends the prefix's server, which otherwise lingers a few seconds after
# the last program.
set(ENV{WINEPREFIX} ${PREFIX})
set(ENV{WINEDEBUG} -all)

if(ACTION STREQUAL "make")
  file(REMOVE_RECURSE ${PREFIX})
  # No Mono or Gecko: nothing here needs them, and their installers would ask.
  set(ENV{WINEDLLOVERRIDES} "mscoree,mshtml=")
  execute_process(COMMAND ${WINE} wineboot -i RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "wineboot -i failed (${status}) for ${PREFIX}")
  endif()
  execute_process(COMMAND ${WINESERVER} -w)
  message(STATUS "Wine prefix ready: ${PREFIX}")
elseif(ACTION STREQUAL "stop")
  # Fails only when no server is left to stop.
  execute_process(COMMAND ${WINESERVER} -k)
else()
  message(FATAL_ERROR "ACTION must be make or stop")
endif()
