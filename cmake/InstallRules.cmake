# What `cmake --install` puts under the prefix, in three components:
#   recognition9r  the package a host builds against: the library, its public
#                  headers, a CMake package (find_package(Recognition9r),
#                  target Recognition9r::recognition9r) and a pkg-config file
#   standins       every stand-in a path of the reference host needs, in the
#                  host's folder as in the build tree's bin: the host services,
#                  the passport-reader engine server, the TWAIN source manager
#                  with its data sources in twain/ beside it (the specimen
#                  scanner and, where SANE was found, the SANE source), the Scanify engine
#                  library with ScProxy.Ini, and the specimen documents
#   velmar-host    the reference host
# The host's folder is <libexecdir>/velmar-q-70: the package looks for the
# engine server, the source manager and the Scanify engine next to the host
# executable.
include(CMakePackageConfigHelpers)

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
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT recognition9r)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/include/recognition9r/ DESTINATION ${R9_INCLUDE_SUBDIR}
  COMPONENT recognition9r FILES_MATCHING PATTERN "*.h")
install(EXPORT Recognition9rTargets NAMESPACE Recognition9r::
  DESTINATION ${R9_CMAKE_DIR} COMPONENT recognition9r)
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/Recognition9rConfig.cmake.in
  ${CMAKE_BINARY_DIR}/Recognition9rConfig.cmake INSTALL_DESTINATION ${R9_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/Recognition9rConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/Recognition9rConfig.cmake ${CMAKE_BINARY_DIR}/Recognition9rConfigVersion.cmake
  DESTINATION ${R9_CMAKE_DIR} COMPONENT recognition9r)

# The pkg-config file finds the prefix from its own place, so the tree works
# wherever it is installed (--prefix at install time included).
file(RELATIVE_PATH R9_PC_TO_PREFIX /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)
string(REGEX REPLACE "/$" "" R9_PC_TO_PREFIX "${R9_PC_TO_PREFIX}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/recognition9r.pc.in ${CMAKE_BINARY_DIR}/recognition9r.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/recognition9r.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT recognition9r)

# --- stand-ins and the reference host, in the host's folder ----------------
# The engines scan through the TWAIN client installed beside them.
set_target_properties(passportreader scproxy PROPERTIES INSTALL_RPATH "$ORIGIN")
install(TARGETS hostkit passportreader twaindsm twainclient scproxy LIBRARY DESTINATION ${R9_HOST_DIR} COMPONENT standins)
install(TARGETS twainspecimen LIBRARY DESTINATION ${R9_HOST_DIR}/twain COMPONENT standins)
if(TARGET twainsane)
  # Beside the specimen scanner, the source that offers every SANE device:
  # the installed host reaches a real scanner as the built one does.
  install(TARGETS twainsane LIBRARY DESTINATION ${R9_HOST_DIR}/twain COMPONENT standins)
endif()
install(FILES ${CMAKE_SOURCE_DIR}/standins/scproxy/ScProxy.Ini DESTINATION ${R9_HOST_DIR} COMPONENT standins)
if(TARGET specimens)
  # The passport-reader documents, the pictures the specimen scanner feeds
  # and the Scanify descriptions (specimens/scanify).
  install(DIRECTORY ${CMAKE_BINARY_DIR}/bin/specimens DESTINATION ${R9_HOST_DIR} COMPONENT standins)
endif()
file(RELATIVE_PATH R9_HOST_TO_LIB /${R9_HOST_DIR} /${CMAKE_INSTALL_LIBDIR})
set_target_properties(velmar-host PROPERTIES INSTALL_RPATH "$ORIGIN;$ORIGIN/${R9_HOST_TO_LIB}")
install(TARGETS velmar-host RUNTIME DESTINATION ${R9_HOST_DIR} COMPONENT velmar-host)
