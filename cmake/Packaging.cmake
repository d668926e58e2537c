# Debian packages from the install components (cpack -G DEB, or
# scripts/build-packages.sh), one package per role:
#   recognition9r          runtime       the package and what a desk runs beside it
#   recognition9r-host     host          the reference host and its services
#   recognition9r-dev      development   headers, CMake package, pkg-config file
#   recognition9r-doubles  doubles       the specimen scanner and documents
# Nothing depends on the doubles: a desk gets them only by asking for them.
# The version is the project's (project(VERSION) in the top CMakeLists) with
# the Debian revision below; the packages install under /usr, so the host's
# folder is /usr/libexec/velmar-q-70 and the package /usr/lib.

set(R9_DEB_RELEASE 1)
set(R9_DEB_VERSION ${PROJECT_VERSION}-${R9_DEB_RELEASE})
# The reference host tells the version of its packages (--version).
target_compile_definitions(velmar-host PRIVATE R9_PACKAGE_VERSION="${R9_DEB_VERSION}")
set(R9_DEB_NAME_runtime recognition9r)
set(R9_DEB_NAME_host recognition9r-host)
set(R9_DEB_NAME_development recognition9r-dev)
set(R9_DEB_NAME_doubles recognition9r-doubles)
set(R9_DEB_COMPONENTS runtime host development doubles)

# Each package carries its copyright file and changelog in its own doc
# folder, as Debian asks of every package.
set(R9_DEB_STAGE ${CMAKE_BINARY_DIR}/debian)
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/changelog.in ${R9_DEB_STAGE}/changelog.Debian @ONLY)
r9_gzip(${R9_DEB_STAGE}/changelog.Debian ${R9_DEB_STAGE}/changelog.Debian.gz)
foreach(component IN LISTS R9_DEB_COMPONENTS)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/debian/copyright ${R9_DEB_STAGE}/changelog.Debian.gz
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${R9_DEB_NAME_${component}} COMPONENT ${component})
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME recognition9r)
set(CPACK_PACKAGE_VENDOR "Recognition9r maintainers")
set(CPACK_PACKAGE_CONTACT "Recognition9r maintainers <maintainers@recognition9r.example>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL ${R9_DEB_COMPONENTS})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${R9_DEB_RELEASE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The host links the package, which lies in another of these packages and
# has no entry in dpkg's library lists: dpkg-shlibdeps finds it in the
# build's bin/, and the host's Depends below names it at its exact version.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/bin)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

foreach(component IN LISTS R9_DEB_COMPONENTS)
  string(TOUPPER ${component} C)
  set(CPACK_DEBIAN_${C}_PACKAGE_NAME ${R9_DEB_NAME_${component}})
endforeach()

# What the programs load or read at run time beyond what they link, and so
# beyond what dpkg-shlibdeps finds:
#   runtime  the zone reader's glyphs are drawn from the OCR-B font, and from
#            DejaVu Sans Mono for zones printed in another face; the engines
#            read printed fields with Tesseract's Russian and English data
#   host     its services keep their records in SQLite through Qt's driver,
#            and play real cameras through GStreamer: the base and good
#            plugins decode MJPEG and reach V4L2, RTSP and HTTP cameras;
#            libav, recommended, decodes H.264 and the like
set(R9_DEB_RUNTIME_DATA "fonts-ocr-b, fonts-dejavu-core, tesseract-ocr-rus, tesseract-ocr-eng")
set(R9_DEB_HOST_PLUGINS "libqt6sql6-sqlite, gstreamer1.0-plugins-base, gstreamer1.0-plugins-good")

set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION graphics)
# The package lies in the linker's folder: its cache is renewed once after
# dpkg's run, not by a script of ours. cpack also writes a postinst and a
# postrm that call ldconfig for any library in /usr/lib, unless the package
# brings scripts of its own: a script of ours with nothing to do would be
# worse than the repeated call, so both stay (lintian: maintscript-calls-ldconfig,
# a warning). The host's libturbojpeg0 version is lower than the runtime's
# rightly: it uses none of the 2.0 symbols (tjGetErrorStr2) the runtime does.
set(CPACK_DEBIAN_RUNTIME_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_LIST_DIR}/debian/runtime/triggers)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_DEPENDS "${R9_DEB_RUNTIME_DATA}")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_RECOMMENDS "sane-utils")
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SUGGESTS "recognition9r-host")
set(CPACK_DEBIAN_RUNTIME_DESCRIPTION "identity document recognition plug-in for Velmar-Q-70
The document-recognition package of the Velmar-Q-70 access-control system,
loaded by the host at run time as librecognition9r.so, with what a desk
runs beside it in /usr/libexec/velmar-q-70: the two recognition engine
servers, a TWAIN source manager with a data source for every SANE
scanner, and the TWAIN client of the engines.

Also holds mrzread, which reads the machine-readable zone of passports,
identity cards and visas from a picture.")

set(CPACK_DEBIAN_HOST_PACKAGE_SECTION graphics)
# The host runs on exactly the package it was built with.
set(CPACK_DEBIAN_HOST_PACKAGE_DEPENDS "recognition9r (= ${R9_DEB_VERSION}), ${R9_DEB_HOST_PLUGINS}")
set(CPACK_DEBIAN_HOST_PACKAGE_RECOMMENDS "gstreamer1.0-libav")
set(CPACK_DEBIAN_HOST_PACKAGE_SUGGESTS "recognition9r-doubles (= ${R9_DEB_VERSION})")
set(CPACK_DEBIAN_HOST_DESCRIPTION "reference host of the Velmar-Q-70 recognition plug-in
The reference host velmar-host loads the document-recognition package as
the access-control system does, with host services of its own (log,
security system, cameras, nationalities), and stores the persons it is
handed. It scans through SANE, reads identity documents with either engine,
takes document pictures and camera snapshots.

Without a display it runs a scripted operator and prints a JSON report;
with the test doubles installed the engines read specimen documents.")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_DEPENDS "recognition9r (= ${R9_DEB_VERSION}), qt6-base-dev")
set(CPACK_DEBIAN_DEVELOPMENT_DESCRIPTION "development files of the Velmar-Q-70 recognition plug-in
The public headers of the document-recognition package, a CMake package
(find_package(Recognition9r), target Recognition9r::recognition9r) and a
pkg-config file (recognition9r): what a host builds against.")

set(CPACK_DEBIAN_DOUBLES_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_DOUBLES_PACKAGE_DEPENDS "recognition9r (= ${R9_DEB_VERSION})")
set(CPACK_DEBIAN_DOUBLES_DESCRIPTION "test doubles of the Velmar-Q-70 recognition plug-in
The specimen TWAIN scanner and the specimen documents the recognition
engines read in their specimen mode: for tests and demonstrations only,
never needed at a desk.")

include(CPack)
