# Fails when a source of the reference host is compiled with a folder of the
# package's sources (SOURCE_ROOT) on its include path: the host builds
# against the public headers only, as one outside this tree does.
#   cmake -DCOMMANDS=<compile_commands.json> -DHOST_DIR=<apps/velmar-host>
#         -DSOURCE_ROOT=<src> -P HostIncludes.cmake
file(READ ${COMMANDS} commands)
string(JSON count LENGTH "${commands}")
math(EXPR last "${count} - 1")
set(sources 0)
foreach(i RANGE ${last})
  string(JSON file GET "${commands}" ${i} file)
  if(NOT file MATCHES "^${HOST_DIR}/")
    continue()
  endif()
  math(EXPR sources "${sources} + 1")
  string(JSON command GET "${commands}" ${i} command)
  if(command MATCHES "(-I|-isystem )${SOURCE_ROOT}(/|[ \"]|$)")
    message(FATAL_ERROR "${file} is compiled with the package's sources on its include path:\n${command}")
  endif()
endforeach()
if(sources EQUAL 0)
  message(FATAL_ERROR "no source of the reference host in ${COMMANDS}")
endif()
message(STATUS "${sources} sources of the reference host see the public headers only")
