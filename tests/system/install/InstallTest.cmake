# Installs the already built tree (nothing is rebuilt) component by component
# into temporary prefixes and checks what each role holds, then installs every
# component into one prefix and runs the installed reference host on each of
# its paths (recognition, document picture from the specimen scanner and from
# SANE's test backend, camera), then configures, builds and runs the small
# host project against the installed package (its runtime and development
# files alone).
# Arguments: BUILD_TREE WORK HOST_PROJECT GENERATOR LIBDIR LIBEXECDIR MANDIR SANITIZE
#            TWAINSANE (1 when the SANE source was built: SANE's development
#            files were found; else its install and its scan are not checked)
cmake_policy(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/InstallChecks.cmake)

file(REMOVE_RECURSE ${WORK})
set(package ${WORK}/package)
set(host ${WORK}/host)
set(hostdir ${LIBEXECDIR}/velmar-q-70)
function(install_component prefix component)
  run(${CMAKE_COMMAND} --install ${BUILD_TREE} --prefix ${prefix} --component ${component})
endfunction()

foreach(role development runtime host doubles)
  set(prefix ${WORK}/${role})
  if(role STREQUAL "host")
    set(prefix ${WORK}/host-alone)
  endif()
  install_component(${prefix} ${role})
  expect_role(${prefix} ${role})
endforeach()

# Every component at once, as a plain `cmake --install` does.
run(${CMAKE_COMMAND} --install ${BUILD_TREE} --prefix ${host})
expect_files(${host} ${LIBDIR}/librecognition9r.so ${hostdir}/velmar-host ${hostdir}/twain/libtwainspecimen.so
  include/recognition9r/base/r9Export.h)
if(TWAINSANE)
  expect_files(${host} ${hostdir}/twain/libtwainsane.so)
endif()
# A host project needs the package's runtime and development files only.
install_component(${package} runtime)
install_component(${package} development)

# With everything installed the host does its main job and its other paths,
# each finding the components and doubles it needs in its own folder.
run_every_installed_host_path()

# Every public header compiles on its own, with nothing but the installed
# tree: one source file per header.
file(GLOB_RECURSE headers RELATIVE ${package}/include/recognition9r ${package}/include/recognition9r/*.h)
set(header_sources ${WORK}/each-header)
file(MAKE_DIRECTORY ${header_sources})
foreach(header IN LISTS headers)
  string(MAKE_C_IDENTIFIER ${header} name)
  file(WRITE ${header_sources}/${name}.cpp "#include <${header}>\n")
endforeach()

# A host project outside this tree, against the installed package only.
set(ENV{PKG_CONFIG_PATH} ${package}/${LIBDIR}/pkgconfig)
set(flags)
if(SANITIZE)
  # A sanitized package needs its runtime in the host program too.
  set(flags -DCMAKE_CXX_FLAGS=-fsanitize=address,undefined -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=address,undefined)
endif()
run(${CMAKE_COMMAND} -S ${HOST_PROJECT} -B ${WORK}/tinyhost -G ${GENERATOR} ${flags}
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH=${package} -DTINYHOST_HEADER_SOURCES=${header_sources})
run(${CMAKE_COMMAND} --build ${WORK}/tinyhost)
foreach(program tinyhost-cmake tinyhost-pkgconfig)
  run(${CMAKE_COMMAND} -E env LD_LIBRARY_PATH=${package}/${LIBDIR} QT_QPA_PLATFORM=offscreen
    HOME=${WORK}/home XDG_CONFIG_HOME=${WORK}/home/.config XDG_STATE_HOME=${WORK}/home/.local/state
    ${WORK}/tinyhost/${program} ${host}/${hostdir})
endforeach()
message(STATUS "the installed package builds and runs in a host project")
