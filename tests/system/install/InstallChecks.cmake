# What the install tests share: running a command, what a tree must and must
# not hold (expect_role: what each role's install holds), and the installed
# reference host on each of its paths.
# run_every_installed_host_path() reads from its caller:
#   WORK      a scratch folder of the test (the host's home, its records)
#   host      the prefix the host is installed under; hostdir and LIBDIR the
#             host's folder and the library folder below it
#   host_program  (optional) how the host is started, if not from hostdir
#   TWAINSANE 1 when the SANE source is installed (its scan is then run)
#   SANITIZE  ON for a build with the sanitizers
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

# What the tree under PREFIX holds when ROLE (runtime, host, development,
# doubles) alone is installed there. Reads LIBDIR, LIBEXECDIR, MANDIR,
# hostdir and TWAINSANE from its caller.
function(expect_role prefix role)
  if(role STREQUAL "development")
    # What a host builds against: headers, CMake package and pkg-config file.
    expect_files(${prefix}
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
    expect_no_files(${prefix} "*.so" "${LIBEXECDIR}/*" "bin/*"
      "*TSettingsFile.h" "*TMessageBox.h" "*_p.h" "*PackageUnits.h" "*ScanifyText.h" "*scapi.h")
  elseif(role STREQUAL "runtime")
    # What a desk runs: the package, the source manager with the SANE source, the
    # TWAIN client, both engine servers with ScProxy.Ini, the zone reading tool.
    expect_files(${prefix} ${LIBDIR}/librecognition9r.so
      ${hostdir}/libtwaindsm.so ${hostdir}/libtwainclient.so ${hostdir}/libpassportreader.so
      ${hostdir}/libscproxy.so ${hostdir}/ScProxy.Ini bin/mrzread ${MANDIR}/man1/mrzread.1.gz)
    if(TWAINSANE)
      expect_files(${prefix} ${hostdir}/twain/libtwainsane.so)
    else()
      expect_no_files(${prefix} "*twainsane*")
    endif()
    expect_no_files(${prefix} "*velmar-host" "*hostkit*" "*twainspecimen*" "*specimens*" "include/*"
      "${LIBDIR}/cmake/*" "${LIBDIR}/pkgconfig/*" "*scproxy-partial*" "*test_*")
  elseif(role STREQUAL "host")
    # The reference host and its services; it starts from bin/ and from the
    # desktop's menu, and has its manual page.
    expect_files(${prefix} ${hostdir}/velmar-host ${hostdir}/libhostkit.so bin/velmar-host
      ${MANDIR}/man1/velmar-host.1.gz share/applications/velmar-host.desktop
      share/icons/hicolor/scalable/apps/velmar-host.svg)
    expect_no_files(${prefix} "*librecognition9r*" "*twain*" "*passportreader*" "*scproxy*"
      "*ScProxy.Ini" "*specimens*" "include/*")
  elseif(role STREQUAL "doubles")
    # The doubles: the specimen scanner beside the SANE source, the specimens
    # beside the engines.
    expect_files(${prefix} ${hostdir}/twain/libtwainspecimen.so
      ${hostdir}/specimens/01-Passport_RU.json ${hostdir}/specimens/scanify/01-Passport1.json)
    expect_no_files(${prefix} "*librecognition9r*" "*velmar-host" "*hostkit*" "*twaindsm*"
      "*twainsane*" "*passportreader*" "*scproxy*" "include/*")
  else()
    message(FATAL_ERROR "no such role: ${role}")
  endif()
endfunction()

function(run_installed_host report_var)
  set(program ${host}/${hostdir}/velmar-host)
  if(host_program)
    set(program ${host_program})
  endif()
  # A runtime folder of the run's own, not the one every process without
  # XDG_RUNTIME_DIR shares in /tmp.
  file(MAKE_DIRECTORY ${WORK}/runtime)
  file(CHMOD ${WORK}/runtime PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env --unset=DISPLAY --unset=WAYLAND_DISPLAY QT_QPA_PLATFORM=offscreen
            HOME=${WORK}/home XDG_CONFIG_HOME=${WORK}/home/.config XDG_STATE_HOME=${WORK}/home/.local/state
            XDG_RUNTIME_DIR=${WORK}/runtime
            ${host_env} ${program} --output ${WORK}/records ${ARGN}
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

function(run_every_installed_host_path)
  # SANE's configuration of its own, with no backend, wherever a run needs no
  # real scanner: nothing probes the machine's scanners (whose backends,
  # unloaded at the end, the leak check would count against the host).
  file(MAKE_DIRECTORY ${WORK}/sane-none)
  file(WRITE ${WORK}/sane-none/dll.conf "")
  set(host_env SANE_CONFIG_DIR=${WORK}/sane-none)

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
endfunction()
