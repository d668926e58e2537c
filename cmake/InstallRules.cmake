# What `cmake --install` puts under the prefix, by role, in four components:
#   runtime      everything a desk needs beside its host: the package
#                library, the TWAIN source manager with the SANE source in
#                twain/ beside it (wherever the SANE source is built), the
#                TWAIN client, both engine servers (the zone reader is linked
#                into them; its glyphs come from the system's fonts),
#                ScProxy.Ini, and the zone reading tool mrzread
#   host         the reference host and its services
#   development  what a host builds against: the public headers, a CMake
#                package (find_package(Recognition9r), target
#                Recognition9r::recognition9r) and a pkg-config file
#   doubles      what exists for tests and demonstrations: the specimen
#                scanner in twain/ and the specimen documents
# Without --component every one is installed. The package lies in the
# library folder; everything else in the host's folder,
# <libexecdir>/velmar-q-70, as in the build tree's bin: the package looks for
# the engine server, the source manager and the Scanify engine next to the
# host executable, the manager for its sources in twain/ beside it, and the
# engines for the specimens beside them. Each program in bin/ brings its
# manual page; the reference host is started from bin/ too (a link into its
# folder) and from the desktop's menu.
include(CMakePackageConfigHelpers)

# Writes OUT, the file IN compressed as manual pages and changelogs are
# installed: the same bytes for the same input (no name, no time stamp).
function(r9_gzip in out)
  get_filename_component(dir ${out} DIRECTORY)
  file(MAKE_DIRECTORY ${dir})
  add_custom_command(OUTPUT ${out} COMMAND sh -c "gzip -9nc \"$1\" > \"$2\"" gzip ${in} ${out}
    DEPENDS ${in} VERBATIM)
  get_filename_component(name ${out} NAME)
  string(MAKE_C_IDENTIFIER ${name} name)
  add_custom_target(gzip_${name} ALL DEPENDS ${out})
endfunction()
set(R9_MAN1_DIR ${CMAKE_INSTALL_MANDIR}/man1)

# The public headers are the folder include/recognition9r: every header whose
# functions and classes the library exports, and what they include; never a
# header of the package's internals (those stay in src/). scanify/scapi.h is
# not among them: its variables are protected data, which a program reads
# with dlsym and cannot link against.
set(R9_INCLUDE_SUBDIR ${CMAKE_INSTALL_INCLUDEDIR}/recognition9r)
set(R9_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/Recognition9r)
set(R9_HOST_DIR ${CMAKE_INSTALL_LIBEXECDIR}/velmar-q-70)

# --- the package -----------------------------------------------------------
install(TARGETS recognition9r EXPORT Recognition9rTargets
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT runtime)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/include/recognition9r/ DESTINATION ${R9_INCLUDE_SUBDIR}
  COMPONENT development FILES_MATCHING PATTERN "*.h")
install(EXPORT Recognition9rTargets NAMESPACE Recognition9r::
  DESTINATION ${R9_CMAKE_DIR} COMPONENT development)
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/Recognition9rConfig.cmake.in
  ${CMAKE_BINARY_DIR}/Recognition9rConfig.cmake INSTALL_DESTINATION ${R9_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/Recognition9rConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/Recognition9rConfig.cmake ${CMAKE_BINARY_DIR}/Recognition9rConfigVersion.cmake
  DESTINATION ${R9_CMAKE_DIR} COMPONENT development)

# The pkg-config file finds the prefix from its own place, so the tree works
# wherever it is installed (--prefix at install time included).
file(RELATIVE_PATH R9_PC_TO_PREFIX /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)
string(REGEX REPLACE "/$" "" R9_PC_TO_PREFIX "${R9_PC_TO_PREFIX}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/recognition9r.pc.in ${CMAKE_BINARY_DIR}/recognition9r.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/recognition9r.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT development)

# --- what a desk runs beside the package, in the host's folder ---------------
# The engines scan through the TWAIN client installed beside them.
set_target_properties(passportreader scproxy PROPERTIES INSTALL_RPATH "$ORIGIN")
install(TARGETS passportreader twaindsm twainclient scproxy LIBRARY DESTINATION ${R9_HOST_DIR} COMPONENT runtime)
install(FILES ${CMAKE_SOURCE_DIR}/components/scproxy/ScProxy.Ini DESTINATION ${R9_HOST_DIR} COMPONENT runtime)
if(TARGET twainsane)
  # The source that offers every SANE device, with the manager: the
  # installed host reaches a real scanner as the built one does.
  install(TARGETS twainsane LIBRARY DESTINATION ${R9_HOST_DIR}/twain COMPONENT runtime)
endif()
install(TARGETS mrzread RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT runtime)
r9_gzip(${CMAKE_SOURCE_DIR}/components/mrzreader/mrzread.1 ${CMAKE_BINARY_DIR}/man/mrzread.1.gz)
install(FILES ${CMAKE_BINARY_DIR}/man/mrzread.1.gz DESTINATION ${R9_MAN1_DIR} COMPONENT runtime)

# --- the reference host ----------------------------------------------------
file(RELATIVE_PATH R9_HOST_TO_LIB /${R9_HOST_DIR} /${CMAKE_INSTALL_LIBDIR})
set_target_properties(velmar-host PROPERTIES INSTALL_RPATH "$ORIGIN;$ORIGIN/${R9_HOST_TO_LIB}")
install(TARGETS velmar-host RUNTIME DESTINATION ${R9_HOST_DIR} COMPONENT host)
install(TARGETS hostkit LIBRARY DESTINATION ${R9_HOST_DIR} COMPONENT host)
# The link is relative, so it holds under any prefix; the host resolves it
# and still finds everything beside its real self.
file(RELATIVE_PATH R9_BIN_TO_HOST /${CMAKE_INSTALL_BINDIR} /${R9_HOST_DIR}/velmar-host)
file(MAKE_DIRECTORY ${CMAKE_BINARY_DIR}/launcher)
file(CREATE_LINK ${R9_BIN_TO_HOST} ${CMAKE_BINARY_DIR}/launcher/velmar-host SYMBOLIC)
install(FILES ${CMAKE_BINARY_DIR}/launcher/velmar-host DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT host)
r9_gzip(${CMAKE_SOURCE_DIR}/apps/velmar-host/velmar-host.1 ${CMAKE_BINARY_DIR}/man/velmar-host.1.gz)
install(FILES ${CMAKE_BINARY_DIR}/man/velmar-host.1.gz DESTINATION ${R9_MAN1_DIR} COMPONENT host)
install(FILES ${CMAKE_SOURCE_DIR}/apps/velmar-host/velmar-host.desktop
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications COMPONENT host)
install(FILES ${CMAKE_SOURCE_DIR}/apps/velmar-host/velmar-host.svg
  DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps COMPONENT host)

# --- the doubles of tests and demonstrations --------------------------------
install(TARGETS twainspecimen LIBRARY DESTINATION ${R9_HOST_DIR}/twain COMPONENT doubles)
if(TARGET specimens)
  # The passport-reader documents, the pictures the specimen scanner feeds
  # and the Scanify descriptions (specimens/scanify).
  install(DIRECTORY ${CMAKE_BINARY_DIR}/bin/specimens DESTINATION ${R9_HOST_DIR} COMPONENT doubles)
endif()
