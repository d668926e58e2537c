# Fails when a source of the reference host is compiled with a folder of the
# package's sources (SOURCE_ROOT) on its include path: the host builds
# against the public headers only, as one outside this tree does. Run on
# components/ or doubles/ (WHAT names them), it holds those to the same: the
# one part of the package they compile against comes with r9_platform, as a
# view of that folder alone in the build tree. With OBJECTS, only the
# objects built into that folder of the build tree count (a suite that
# compiles a component's source to test it sees the package's internals),
# and none of them may be compiled from a source of the package.
#   cmake -DCOMMANDS=<compile_commands.json> -DHOST_DIR=<apps/velmar-host>
#         -DSOURCE_ROOT=<src> [-DWHAT=<what the folder holds>] [-DOBJECTS=<folder/>]
#         -P HostIncludes.cmake
if(NOT DEFINED WHAT)
  set(WHAT "the reference host")
endif()
file(READ ${COMMANDS} commands)
string(JSON count LENGTH "${commands}")
math(EXPR last "${count} - 1")
set(sources 0)
foreach(i RANGE ${last})
  string(JSON file GET "${commands}" ${i} file)
  if(DEFINED OBJECTS AND file MATCHES "^${SOURCE_ROOT}/")
    string(JSON command GET "${commands}" ${i} command)
    if(command MATCHES " -o ${OBJECTS}")
      message(FATAL_ERROR "${file}, a source of the package, is compiled into ${WHAT}; link r9_platform")
    endif()
  endif()
  if(NOT file MATCHES "^${HOST_DIR}/")
    continue()
  endif()
  string(JSON command GET "${commands}" ${i} command)
  if(DEFINED OBJECTS AND NOT command MATCHES " -o ${OBJECTS}")
    continue()
  endif()
  math(EXPR sources "${sources} + 1")
  if(command MATCHES "(-I|-isystem )${SOURCE_ROOT}(/|[ \"]|$)")
    message(FATAL_ERROR "${file} is compiled with the package's sources on its include path:\n${command}")
  endif()
endforeach()
if(sources EQUAL 0)
  message(FATAL_ERROR "no source of ${WHAT} in ${COMMANDS}")
endif()
message(STATUS "${sources} sources of ${WHAT}: no folder of the package's sources on their include path")
