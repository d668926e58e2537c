# Installs the already built tree (nothing is rebuilt) component by component
# into temporary prefixes and checks what each role holds, then installs every
# component into one prefix and runs the installed reference host on each of
# its paths (recognition, document picture from the specimen scanner and from
# SANE's test backend, camera), then configures, builds and runs the small
# host project against the installed package (its runtime and development
# files alone).
# Arguments: BUILD_TREE WORK HOST_PROJECT GENERATOR LIBDIR LIBEXECDIR SANITIZE
#            TWAINSANE (1 when the SANE source was built: SANE's development
#            files were found; else its install and its scan are not checked)
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    string(JOIN " " command ${ARGN})
    message(FATAL_ERROR "failed (${rc}): ${command}\n${out}\n${err}")
  endif()
endfunction()

function(expect_files prefix)
  foreach(file IN LISTS ARGN)
    if(NOT EXISTS ${prefix}/${file})
      message(FATAL_ERROR "missing under ${prefix}: ${file}")
    endif()
  endforeach()
endfunction()

function(expect_no_files prefix)
  foreach(pattern IN LISTS ARGN)
    file(GLOB_RECURSE found ${prefix}/${pattern})
    if(found)
      message(FATAL_ERROR "unexpected under ${prefix}: ${found}")
    endif()
  endforeach()
endfunction()

file(REMOVE_RECURSE ${WORK})
set(package ${WORK}/package)
set(host ${WORK}/host)
set(hostdir ${LIBEXECDIR}/velmar-q-70)
function(install_component prefix component)
  run(${CMAKE_COMMAND} --install ${BUILD_TREE} --prefix ${prefix} --component ${component})
endfunction()

# What a host builds against: headers, CMake package and pkg-config file.
install_component(${WORK}/development development)
expect_files(${WORK}/development
  include/recognition9r/abbyy/engABBYY9r_FM.h
  include/recognition9r/camera/engPhotoFromCamera9r_FM.h
  include/recognition9r/twain/engDocFromScanner9r_FM.h
  include/recognition9r/twain/MultiTWAIN.h
  include/recognition9r/scanify/engUtilsScanify9r.h
  include/recognition9r/ui/TCaptionedEdit.h
  include/recognition9r/base/r9Export.h
  ${LIBDIR}/cmake/Recognition9r/Recognition9rConfig.cmake
  ${LIBDIR}/cmake/Recognition9r/Recognition9rConfigVersion.cmake
  ${LIBDIR}/cmake/Recognition9r/Recognition9rTargets.cmake
  ${LIBDIR}/pkgconfig/recognition9r.pc)
expect_no_files(${WORK}/development "*.so" "${LIBEXECDIR}/*" "bin/*"
  "*TSettingsFile.h" "*TMessageBox.h" "*_p.h" "*PackageUnits.h" "*ScanifyText.h" "*scapi.h")

# What a desk runs: the package, the source manager with the SANE source, the
# TWAIN client, both engine servers with ScProxy.Ini, the zone reading tool.
install_component(${WORK}/runtime runtime)
expect_files(${WORK}/runtime ${LIBDIR}/librecognition9r.so
  ${hostdir}/libtwaindsm.so ${hostdir}/libtwainclient.so ${hostdir}/libpassportreader.so
  ${hostdir}/libscproxy.so ${hostdir}/ScProxy.Ini bin/mrzread)
if(TWAINSANE)
  expect_files(${WORK}/runtime ${hostdir}/twain/libtwainsane.so)
else()
  expect_no_files(${WORK}/runtime "*twainsane*")
endif()
expect_no_files(${WORK}/runtime "*velmar-host" "*hostkit*" "*twainspecimen*" "*specimens*" "include/*"
  "${LIBDIR}/cmake/*" "${LIBDIR}/pkgconfig/*" "*scproxy-partial*" "*test_*")

# The reference host and its services.
install_component(${WORK}/host-alone host)
expect_files(${WORK}/host-alone ${hostdir}/velmar-host ${hostdir}/libhostkit.so)
expect_no_files(${WORK}/host-alone "*librecognition9r*" "*twain*" "*passportreader*" "*scproxy*"
  "*ScProxy.Ini" "*specimens*" "include/*")

# The doubles: the specimen scanner beside the SANE source, the specimens
# beside the engines.
install_component(${WORK}/doubles doubles)
expect_files(${WORK}/doubles ${hostdir}/twain/libtwainspecimen.so
  ${hostdir}/specimens/01-Passport_RU.json ${hostdir}/specimens/scanify/01-Passport1.json)
expect_no_files(${WORK}/doubles "*librecognition9r*" "*velmar-host" "*hostkit*" "*twaindsm*"
  "*twainsane*" "*passportreader*" "*scproxy*" "include/*")

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
# SANE's configuration of its own, with no backend, wherever a run needs no
# real scanner: nothing probes the machine's scanners (whose backends,
# unloaded at the end, the leak check would count against the host).
file(MAKE_DIRECTORY ${WORK}/sane-none)
file(WRITE ${WORK}/sane-none/dll.conf "")
set(host_env SANE_CONFIG_DIR=${WORK}/sane-none)
function(run_installed_host report_var)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen
            HOME=${WORK}/home XDG_CONFIG_HOME=${WORK}/home/.config XDG_STATE_HOME=${WORK}/home/.local/state
            ${host_env} ${host}/${hostdir}/velmar-host --output ${WORK}/records ${ARGN}
    RESULT_VARIABLE rc OUTPUT_VARIABLE report ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "the installed host failed (${rc}) with '${ARGN}':\n${report}\n${err}")
  endif()
  string(JSON loaded GET "${report}" package)
  file(REAL_PATH ${loaded} loaded)
  file(REAL_PATH ${host}/${LIBDIR}/librecognition9r.so expected)
  if(NOT loaded STREQUAL expected)
    message(FATAL_ERROR "the installed host loaded ${loaded}, not ${expected}")
  endif()
  set(${report_var} "${report}" PARENT_SCOPE)
endfunction()

run_installed_host(report)
string(JSON first GET "${report}" abbyy records 0 modalResult)
if(NOT first EQUAL 1)
  message(FATAL_ERROR "the installed host ended its first record with ${first}:\n${report}")
endif()

# The document picture: the source manager and the specimen scanner in twain/.
run_installed_host(report --doc-picture)
string(JSON scanned ERROR_VARIABLE missing GET "${report}" docPicture scan modalResult)
string(JSON width ERROR_VARIABLE missing_width GET "${report}" docPicture scan picture width)
string(JSON file ERROR_VARIABLE missing_file GET "${report}" docPicture scan file)
if(missing OR missing_width OR missing_file OR NOT scanned EQUAL 1 OR NOT width GREATER 0 OR NOT EXISTS "${file}")
  message(FATAL_ERROR "the installed host scanned no document picture:\n${report}")
endif()

# A real scanner: the SANE data source beside the specimen scanner, with
# SANE's test backend as the device (a private SANE configuration that
# enables it alone; the system's is never read). The scripted operator picks
# it in the source list, scans, turns and stores the page. Without the SANE
# source in the build there is no such scanner to reach.
if(TWAINSANE)
  file(MAKE_DIRECTORY ${WORK}/sane)
  file(WRITE ${WORK}/sane/dll.conf "test\n")
  set(host_env SANE_CONFIG_DIR=${WORK}/sane)
  if(SANITIZE)
    # SANE's test backend, unloaded at the end, does not free all it allocates.
    list(APPEND host_env ASAN_OPTIONS=detect_leaks=0)
  endif()
  run_installed_host(report --doc-picture --scanner "SANE: Noname")
  set(host_env SANE_CONFIG_DIR=${WORK}/sane-none)
  string(JSON scanned ERROR_VARIABLE missing GET "${report}" docPicture scan modalResult)
  string(JSON file ERROR_VARIABLE missing_file GET "${report}" docPicture scan file)
  if(missing OR missing_file OR NOT scanned EQUAL 1 OR NOT EXISTS "${file}")
    message(FATAL_ERROR "the installed host scanned nothing from SANE's test backend:\n${report}")
  endif()
endif()

# The camera: the host services' synthetic cameras.
run_installed_host(report --camera)
string(JSON taken ERROR_VARIABLE missing GET "${report}" camera modalResult)
string(JSON width ERROR_VARIABLE missing_width GET "${report}" camera frame width)
if(missing OR missing_width OR NOT taken EQUAL 1 OR NOT width GREATER 0)
  message(FATAL_ERROR "the installed host took no camera frame:\n${report}")
endif()

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
