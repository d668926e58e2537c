# scripts/run-bench.sh on a build folder whatever its benchmark option was:
# it must configure, build and run the comparison, and print one row of
# times and ratios for every case and filter.
# Arguments: SOURCE_DIR BUILD_DIR
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env R9_BENCH_BUILD_DIR=${BUILD_DIR}
          bash ${SOURCE_DIR}/scripts/run-bench.sh --repeat 1
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "scripts/run-bench.sh failed (${rc}):\n${out}\n${err}")
endif()
if(NOT out MATCHES "Ratio = our time / peer's time")
  message(FATAL_ERROR "no comparison table:\n${out}")
endif()
# 3 cases x 4 filters, each row ending in four ratios.
string(REGEX MATCHALL "\n[^\n|]+\\|[^\n]+\\| +[0-9]+\\.[0-9][0-9] \\| +[0-9]+\\.[0-9][0-9] \\| +[0-9]+\\.[0-9][0-9] \\| +[0-9]+\\.[0-9][0-9]" rows "${out}")
list(LENGTH rows count)
if(NOT count EQUAL 12)
  message(FATAL_ERROR "expected 12 rows of times and ratios, found ${count}:\n${out}")
endif()
