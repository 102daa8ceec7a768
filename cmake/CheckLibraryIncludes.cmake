# Fails when a file of a library includes a project header that is neither the library's own
# nor one of a library below it (see LibraryOrder.cmake, which writes the lists).
#
#   cmake -DSOURCE_DIR=<tree> -DLISTS=<lists> [-DSTAMP=<file>] -P CheckLibraryIncludes.cmake
#
# LISTS sets LIBRARY, FILES (the library's files) and ALLOWED (the headers they may
# include), as paths below SOURCE_DIR. Every #include "..." counts; a name without a folder
# is the file beside the including one. Includes in <...> are the system's and are not
# looked at. STAMP is touched when every file passes.
if(NOT SOURCE_DIR OR NOT LISTS)
  message(FATAL_ERROR "CheckLibraryIncludes: SOURCE_DIR and LISTS are required")
endif()
include(${LISTS})

foreach(header IN LISTS ALLOWED)
  set(allowed_${header} TRUE)
endforeach()

set(offenders "")
foreach(file IN LISTS FILES)
  get_filename_component(dir ${file} DIRECTORY)
  file(STRINGS ${SOURCE_DIR}/${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*$" "\\1" header "${line}")
    if(NOT header MATCHES "/")
      set(header ${dir}/${header})
    endif()
    if(NOT allowed_${header})
      list(APPEND offenders "  ${file}: ${header}")
    endif()
  endforeach()
endforeach()

if(offenders)
  list(JOIN offenders "\n" text)
  message(FATAL_ERROR
    "${LIBRARY} includes headers that are neither its own nor of a library below it:\n${text}\n"
    "A library uses only what it links; a header of a library above it makes the two need each "
    "other. Move what both need down, or link the library if it truly stands below.")
endif()
if(STAMP)
  file(TOUCH ${STAMP})
endif()
