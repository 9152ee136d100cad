# Fails when a shipped library exports test code: the test robot, its errors, the fakes or
# any hook named for testing. Run by ctest as
#   cmake -DNM=<nm> -DLIBRARIES=<lib>,<lib> -P shipped_symbols.cmake
string(REPLACE "," ";" LIBRARIES "${LIBRARIES}")
set(forbidden "TestRobot|RobotError|ForTesting|FakeDesktop")
set(failed FALSE)
foreach(library ${LIBRARIES})
  execute_process(COMMAND ${NM} -D -C --defined-only ${library}
    OUTPUT_VARIABLE symbols RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0 OR symbols STREQUAL "")
    message(SEND_ERROR "${NM} could not list the symbols of ${library}")
    set(failed TRUE)
    continue()
  endif()
  string(REGEX MATCHALL "[^\n]*(${forbidden})[^\n]*" found "${symbols}")
  if(found)
    list(JOIN found "\n" lines)
    message(SEND_ERROR "${library} exports test code:\n${lines}")
    set(failed TRUE)
  endif()
endforeach()
if(failed)
  message(FATAL_ERROR "shipped libraries export test code")
endif()
