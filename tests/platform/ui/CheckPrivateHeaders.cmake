# Fails when code outside the window layer includes one of its private headers.
#
#   cmake -DSOURCE_DIR=<tree> -P CheckPrivateHeaders.cmake
#
# A header platform/ui/<room>/<Name>_p.h is internal to platform/ui: the rest of the program
# goes through the public headers, so that the layer can change its insides (and the Qt types
# they carry) without the system's folders noticing. Tests (tests/) and fuzz targets (fuzz/)
# may look inside. Any #include whose path names platform/ui/ and ends in _p.h counts, in
# sources and headers alike; build trees inside the source tree are skipped.
if(NOT SOURCE_DIR OR NOT IS_DIRECTORY "${SOURCE_DIR}")
  message(FATAL_ERROR "CheckPrivateHeaders: SOURCE_DIR is not a folder: '${SOURCE_DIR}'")
endif()
get_filename_component(SOURCE_DIR "${SOURCE_DIR}" REALPATH)

# Build trees configured inside the source tree (build-test/, build-rel/, ...).
file(GLOB cache_files "${SOURCE_DIR}/*/CMakeCache.txt")
set(build_dirs "")
foreach(cache IN LISTS cache_files)
  get_filename_component(dir "${cache}" DIRECTORY)
  list(APPEND build_dirs "${dir}/")
endforeach()

file(GLOB_RECURSE sources LIST_DIRECTORIES false
  "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.hpp" "${SOURCE_DIR}/*.cpp" "${SOURCE_DIR}/*.cc")

set(include_regex "^[ \t]*#[ \t]*include[ \t]*[\"<][^\">]*platform/ui/[^\">]*_p\\.h[\">]")
set(offenders "")
set(checked 0)
foreach(file IN LISTS sources)
  file(RELATIVE_PATH rel "${SOURCE_DIR}" "${file}")
  if(rel MATCHES "^(platform/ui|tests|fuzz)/" OR rel MATCHES "^\\.")
    continue()
  endif()
  set(in_build FALSE)
  foreach(dir IN LISTS build_dirs)
    string(FIND "${file}" "${dir}" at)
    if(at EQUAL 0)
      set(in_build TRUE)
      break()
    endif()
  endforeach()
  if(in_build)
    continue()
  endif()
  math(EXPR checked "${checked} + 1")
  file(STRINGS "${file}" hits REGEX "${include_regex}")
  foreach(hit IN LISTS hits)
    string(STRIP "${hit}" hit)
    list(APPEND offenders "  ${rel}: ${hit}")
  endforeach()
endforeach()

if(checked EQUAL 0)
  message(FATAL_ERROR "CheckPrivateHeaders: no source files found under ${SOURCE_DIR}")
endif()
if(offenders)
  list(JOIN offenders "\n" text)
  message(FATAL_ERROR
    "Private headers of platform/ui included from outside the window layer:\n${text}\n"
    "Use the public header of the room instead, or add what is missing to it.")
endif()
message(STATUS "CheckPrivateHeaders: ${checked} files outside platform/ui, no private header included")
