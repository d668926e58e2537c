# The main job under a real X server: `xvfb-run -a velmar-host --scripted`.
# The scripted operator must answer every window the run opens (the
# recogniser choice, the recognition window, message boxes and the box that
# reports the choice); a window left waiting for a person ends the run by the
# time limit and fails the test.
# Arguments: HOST (the velmar-host program) WORK (a scratch folder)
find_program(XVFB_RUN xvfb-run)
if(NOT XVFB_RUN)
  message(FATAL_ERROR "xvfb-run is missing: run scripts/setup.sh")
endif()
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/home)
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env --unset=QT_QPA_PLATFORM --unset=WAYLAND_DISPLAY
          LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_LIST_DIR}/lsan-system.supp
          HOME=${WORK}/home XDG_CONFIG_HOME=${WORK}/home/.config XDG_STATE_HOME=${WORK}/home/.local/state
          ${XVFB_RUN} -a -s "-screen 0 1280x1024x24"
          timeout -k 10 300 ${HOST} --scripted --output ${WORK}/records
  WORKING_DIRECTORY ${WORK}
  RESULT_VARIABLE rc OUTPUT_VARIABLE report ERROR_VARIABLE err)
if(rc EQUAL 124 OR rc EQUAL 137)
  message(FATAL_ERROR "the host did not finish: a window waited for a person\n${err}")
elseif(NOT rc EQUAL 0)
  message(FATAL_ERROR "the host failed (${rc}):\n${err}\n${report}")
endif()

macro(expect_json expected)
  string(JSON actual ERROR_VARIABLE json_error GET "${report}" ${ARGN})
  if(json_error OR NOT "${actual}" STREQUAL "${expected}")
    string(JOIN "." path ${ARGN})
    message(FATAL_ERROR "${path}: expected '${expected}', got '${actual}' ${json_error}\n${report}")
  endif()
endmacro()

expect_json(xcb platform)
expect_json(1 recognizerChoice modalResult)
expect_json(OK choiceBox answer)
get_filename_component(bin ${HOST} DIRECTORY)
file(GLOB specimens ${bin}/specimens/*.json)
list(LENGTH specimens count)
if(count EQUAL 0)
  message(FATAL_ERROR "no specimen documents in ${bin}/specimens")
endif()
string(JSON records ERROR_VARIABLE json_error LENGTH "${report}" abbyy records)
if(NOT records EQUAL count)
  message(FATAL_ERROR "${records} records for ${count} documents ${json_error}\n${report}")
endif()
math(EXPR last "${count} - 1")
foreach(i RANGE ${last})
  expect_json(1 abbyy records ${i} modalResult)
endforeach()
message(STATUS "the scripted run under Xvfb answered every window (${count} documents)")
