# Makes the Debian packages of the built tree with cpack (or takes those in
# $ENV{R9_PACKAGES_DIR}), checks each one's control fields and, unpacked
# alone, what its role holds; has apt resolve their dependencies against this
# system; then unpacks all four into one empty root and runs the reference
# host there, started as a user starts it (/usr/bin/velmar-host), on each of
# its paths; its manual page names every option it takes.
# Arguments: BUILD_TREE WORK VERSION LIBDIR LIBEXECDIR MANDIR SANITIZE TWAINSANE
cmake_policy(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../install/InstallChecks.cmake)

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(hostdir ${LIBEXECDIR}/velmar-q-70)

if(DEFINED ENV{R9_PACKAGES_DIR})
  set(debs $ENV{R9_PACKAGES_DIR})
else()
  set(debs ${WORK}/debs)
  run(${CMAKE_COMMAND} -E chdir ${BUILD_TREE} cpack -G DEB -B ${debs})
endif()

set(roles runtime host development doubles)
set(name_runtime recognition9r)
set(name_host recognition9r-host)
set(name_development recognition9r-dev)
set(name_doubles recognition9r-doubles)

function(control_field deb field out)
  execute_process(COMMAND dpkg-deb --field ${deb} ${field} OUTPUT_VARIABLE value
    OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "dpkg-deb cannot read ${deb}")
  endif()
  set(${out} "${value}" PARENT_SCOPE)
endfunction()

# The names in a relation field, each with its version condition, as
# "name (op version)" or "name"; alternatives count each.
function(relations field out)
  string(REPLACE "|" "," field "${field}")
  string(REPLACE "," ";" items "${field}")
  set(list)
  foreach(item IN LISTS items)
    string(STRIP "${item}" item)
    list(APPEND list "${item}")
  endforeach()
  set(${out} "${list}" PARENT_SCOPE)
endfunction()

function(expect_relation role field wanted)
  relations("${${role}_${field}}" have)
  foreach(relation IN LISTS wanted)
    set(found FALSE)
    foreach(item IN LISTS have)
      if(item STREQUAL relation OR item MATCHES "^${relation} \\(")
        set(found TRUE)
      endif()
    endforeach()
    if(NOT found)
      message(FATAL_ERROR "${name_${role}}: ${field} lacks '${relation}': ${${role}_${field}}")
    endif()
  endforeach()
endfunction()

set(all_debs)
foreach(role IN LISTS roles)
  file(GLOB deb ${debs}/${name_${role}}_*.deb)
  list(LENGTH deb count)
  if(NOT count EQUAL 1)
    message(FATAL_ERROR "expected one package ${name_${role}} in ${debs}, found: ${deb}")
  endif()
  list(APPEND all_debs ${deb})
  set(deb_${role} ${deb})
  control_field(${deb} Version version)
  if(NOT version STREQUAL VERSION)
    message(FATAL_ERROR "${name_${role}} has the version ${version}, the build ${VERSION}")
  endif()
  foreach(field Depends Pre-Depends Recommends Suggests)
    control_field(${deb} ${field} ${role}_${field})
  endforeach()
  # Nothing brings in the doubles but asking for them.
  foreach(field Depends Pre-Depends Recommends)
    relations("${${role}_${field}}" have)
    foreach(item IN LISTS have)
      if(item MATCHES "^recognition9r-doubles")
        message(FATAL_ERROR "${name_${role}} pulls in the doubles (${field}: ${${role}_${field}})")
      endif()
    endforeach()
  endforeach()
  # Unpacked alone, each holds what its role installs, under /usr.
  run(dpkg-deb -x ${deb} ${WORK}/alone-${role})
  expect_role(${WORK}/alone-${role}/usr ${role})
  expect_files(${WORK}/alone-${role}/usr share/doc/${name_${role}}/copyright
    share/doc/${name_${role}}/changelog.Debian.gz)
endforeach()

# What the programs need beyond themselves: the libraries they link (found
# by dpkg-shlibdeps) and the data they read. The host and the doubles run on
# exactly the package they were built with.
set(runtime_needs libqt6widgets6 libturbojpeg0 fonts-ocr-b libtesseract5 tesseract-ocr-rus tesseract-ocr-eng)
if(TWAINSANE)
  list(APPEND runtime_needs libsane1)
endif()
expect_relation(runtime Depends "${runtime_needs}")
expect_relation(host Depends "recognition9r (= ${VERSION});libqt6sql6-sqlite;libqt6widgets6;libqt6multimedia6;gstreamer1.0-plugins-good")
expect_relation(development Depends "recognition9r (= ${VERSION});qt6-base-dev")
expect_relation(doubles Depends "recognition9r (= ${VERSION})")

# apt resolves every dependency against this system's packages; a desk that
# installs the package and the host gets no doubles with them.
function(apt_simulate out)
  execute_process(COMMAND apt-get --simulate --no-install-recommends install ${ARGN}
    RESULT_VARIABLE rc OUTPUT_VARIABLE plan ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "apt cannot install ${ARGN}:\n${plan}\n${err}")
  endif()
  set(${out} "${plan}" PARENT_SCOPE)
endfunction()
apt_simulate(plan ${all_debs})
apt_simulate(plan ${deb_runtime} ${deb_host})
if(plan MATCHES "Inst recognition9r-doubles")
  message(FATAL_ERROR "installing the package and the host brings in the doubles:\n${plan}")
endif()

# All four in one empty root: the host there finds the package, the engines,
# the source manager and the doubles by its own place alone.
foreach(deb IN LISTS all_debs)
  run(dpkg-deb -x ${deb} ${WORK}/root)
endforeach()
set(host ${WORK}/root/usr)
set(host_program ${host}/bin/velmar-host)
run_every_installed_host_path()
# Its manual page documents every option the host takes.
execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${host_program} --help
  OUTPUT_VARIABLE help RESULT_VARIABLE rc)
execute_process(COMMAND gzip -dc ${host}/${MANDIR}/man1/velmar-host.1.gz OUTPUT_VARIABLE page)
string(REGEX MATCHALL "--[a-z][a-z-]+" options "${help}")
string(REPLACE "\\-" "-" page "${page}")
if(NOT rc EQUAL 0 OR NOT options)
  message(FATAL_ERROR "the installed host gives no options (${rc}):\n${help}")
endif()
foreach(option IN LISTS options)
  if(NOT page MATCHES "[^a-z-]${option}[^a-z-]")
    message(FATAL_ERROR "the manual page of velmar-host does not name ${option}")
  endif()
endforeach()
# It tells the version the packages have.
execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${host_program} --version
  OUTPUT_VARIABLE said RESULT_VARIABLE rc)
if(NOT rc EQUAL 0 OR NOT said MATCHES "velmar-host ${VERSION}")
  message(FATAL_ERROR "velmar-host --version gave (${rc}) '${said}', not the packages' ${VERSION}")
endif()

# Started as the menu entry starts it, from a folder that is not the home
# folder: the records go to the home folder's velmar-records, the user's alone.
file(STRINGS ${host}/share/applications/velmar-host.desktop exec REGEX "^Exec=")
string(REGEX REPLACE "^Exec=velmar-host *" "" menu_options "${exec}")
separate_arguments(menu_options UNIX_COMMAND "${menu_options}")
file(MAKE_DIRECTORY ${WORK}/menu-home ${WORK}/menu-started-here)
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen
          HOME=${WORK}/menu-home SANE_CONFIG_DIR=${WORK}/sane-none ${host_program} ${menu_options} --camera
  WORKING_DIRECTORY ${WORK}/menu-started-here RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
file(GLOB_RECURSE here ${WORK}/menu-started-here/*)
execute_process(COMMAND stat -c %a ${WORK}/menu-home/velmar-records OUTPUT_VARIABLE mode OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT rc EQUAL 0 OR NOT EXISTS ${WORK}/menu-home/velmar-records/camera OR here OR NOT mode STREQUAL "700")
  message(FATAL_ERROR "started from the menu (${exec}), the host ended with ${rc}, records folder mode '${mode}', "
                      "left in the folder it was started in: '${here}'\n${err}")
endif()

# A desk without the doubles: a scripted run that feeds specimens cannot be
# done, and says which folder and which package are missing.
foreach(deb IN ITEMS ${deb_runtime} ${deb_host})
  run(dpkg-deb -x ${deb} ${WORK}/root-nodoubles)
endforeach()
foreach(run IN ITEMS "--engine;abbyy" "--engine;scanify" "--doc-picture")
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen
            HOME=${WORK}/home SANE_CONFIG_DIR=${WORK}/sane-none
            ${WORK}/root-nodoubles/usr/bin/velmar-host --output ${WORK}/records-nodoubles ${run}
    RESULT_VARIABLE rc OUTPUT_VARIABLE report ERROR_VARIABLE err)
  if(NOT rc EQUAL 4 OR NOT err MATCHES "recognition9r-doubles" OR NOT err MATCHES "/usr/${hostdir}/(specimens|twain)")
    message(FATAL_ERROR "without the doubles, velmar-host ${run} ended with ${rc}:\n${report}\n${err}")
  endif()
endforeach()
message(STATUS "the packages install and their host runs every path")
