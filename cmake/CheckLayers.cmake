# Holds every file of the package to its layer where the compiler's view of
# each module cannot (src/CMakeLists.txt): a header that only higher folders
# compile may name a folder above its own, a path may climb out of the view
# with "../", and a public header may lean on a private one, which a host
# does not have.
#
#   cmake -DLAYERS=<layers.cmake> -DSOURCE_ROOT=<src> -DPUBLIC_ROOT=<include/recognition9r>
#         -P CheckLayers.cmake
#
# LAYERS sets R9_MODULES and, for each, R9_REACH_<module>: the folders it may
# include.
cmake_minimum_required(VERSION 3.25)
include(${LAYERS})

set(problems "")
foreach(module IN LISTS R9_MODULES)
  file(GLOB private_files ${SOURCE_ROOT}/${module}/*.h ${SOURCE_ROOT}/${module}/*.cpp)
  file(GLOB public_files ${PUBLIC_ROOT}/${module}/*.h)
  foreach(file IN LISTS private_files public_files)
    set(public FALSE)
    if(file IN_LIST public_files)
      set(public TRUE)
    endif()
    get_filename_component(dir ${file} DIRECTORY)
    file(RELATIVE_PATH shown ${SOURCE_ROOT}/.. ${file})
    file(STRINGS ${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
    foreach(line IN LISTS lines)
      if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*([\"<])([^\">]*)[\">]")
        continue()
      endif()
      set(quoted FALSE)
      if(CMAKE_MATCH_1 STREQUAL "\"")
        set(quoted TRUE)
      endif()
      set(path ${CMAKE_MATCH_2})
      set(folder "")
      if(path MATCHES "^([^/]+)/")
        set(folder ${CMAKE_MATCH_1})
      endif()
      if(path MATCHES "(^|/)\\.\\.(/|$)")
        string(APPEND problems "  ${shown}: ${path}: a path climbs out of the folders (\"..\"); name the folder\n")
      elseif(folder IN_LIST R9_MODULES AND NOT folder IN_LIST R9_REACH_${module})
        string(APPEND problems "  ${shown}: ${path}: ${module} may not use ${folder}\n")
      elseif(public AND (quoted OR folder IN_LIST R9_MODULES)
             AND NOT EXISTS ${PUBLIC_ROOT}/${path} AND NOT (quoted AND EXISTS ${dir}/${path}))
        string(APPEND problems "  ${shown}: ${path}: a public header includes a header a host does not have\n")
      endif()
    endforeach()
  endforeach()
endforeach()

if(problems)
  message(FATAL_ERROR "The package's layers are broken:\n${problems}")
endif()
