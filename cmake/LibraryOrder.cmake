# The order of the program's libraries, kept by the build.
#
# Every library of the program (each library built outside tests/, fuzz/, bench/ and tools/)
# stands above the libraries it links, and no chain of links leads back to where it began:
# the layer diagram in docs/architecture.md is this graph. Two checks hold it so:
#
# - When the project is configured, morvel_check_library_order() follows the links of every
#   library and stops with the circle when one exists.
# - When the project is configured, morvel_folder_order() stops as well when the folders at
#   the top of the tree use each other in a circle (a library of one links a library of the
#   other, each way round): the tree then shows the order, a folder using only the folders
#   below it, and a library used from below its folder's place gets a folder of its own.
# - When a library is built, a step first checks that its files include only its own headers
#   and those of the libraries below it (the ones it links, directly or through others);
#   a header of a library above it, or of none, fails the build (CheckLibraryIncludes.cmake).
#
# A header belongs to the library that lists it among its sources (the estimate engine lists
# its files); any other header belongs to the library built from the folder it stands in,
# and where two libraries are built from one folder, to the upper one.
#
# Nothing here names a library: a new library is checked as soon as it exists, and a new
# dependency is declared once, with target_link_libraries.

set(MORVEL_LIBRARY_ORDER_DIR ${CMAKE_CURRENT_LIST_DIR})

# For every library in LIBS, with its direct links in MORVEL_LINKS_<library> (libraries of
# LIBS only), sets MORVEL_BELOW_<library> in the caller to every library it reaches through
# its links. Fails with the chain when a library reaches itself; CIRCLE and ADVICE replace
# the words of that failure when the names are not libraries.
function(morvel_library_closures)
  cmake_parse_arguments(ARG "" "CIRCLE;ADVICE" "" ${ARGN})
  set(libs ${ARG_UNPARSED_ARGUMENTS})
  if(NOT ARG_CIRCLE)
    set(ARG_CIRCLE "The libraries link in a circle")
  endif()
  if(NOT ARG_ADVICE)
    set(ARG_ADVICE "A library may use only the libraries below it. Move what both need into the lower one, "
                   "or into a library below both.")
  endif()
  foreach(lib IN LISTS libs)
    set(below_${lib} ${MORVEL_LINKS_${lib}})
  endforeach()
  # Widen each set by the sets of its members until nothing changes; at most one round per
  # library is needed.
  set(changed TRUE)
  while(changed)
    set(changed FALSE)
    foreach(lib IN LISTS libs)
      set(wider ${below_${lib}})
      foreach(dep IN LISTS below_${lib})
        list(APPEND wider ${below_${dep}})
      endforeach()
      list(REMOVE_DUPLICATES wider)
      list(LENGTH wider n_wider)
      list(LENGTH below_${lib} n_below)
      if(NOT n_wider EQUAL n_below)
        set(below_${lib} ${wider})
        set(changed TRUE)
      endif()
    endforeach()
  endwhile()

  foreach(lib IN LISTS libs)
    if(NOT lib IN_LIST below_${lib})
      continue()
    endif()
    # The shortest chain back: walk outwards from the library's own links, remembering
    # where each library was reached from.
    set(seen "")
    set(front ${lib})
    set(found FALSE)
    while(front AND NOT found)
      set(next "")
      foreach(from IN LISTS front)
        foreach(to IN LISTS MORVEL_LINKS_${from})
          if(to STREQUAL lib)
            set(last ${from})
            set(found TRUE)
            break()
          endif()
          if(NOT to IN_LIST seen)
            list(APPEND seen ${to})
            set(came_${to} ${from})
            list(APPEND next ${to})
          endif()
        endforeach()
        if(found)
          break()
        endif()
      endforeach()
      set(front ${next})
    endwhile()
    set(chain ${lib})
    set(step ${last})
    while(NOT step STREQUAL lib)
      list(PREPEND chain ${step})
      set(step ${came_${step}})
    endwhile()
    list(PREPEND chain ${lib})
    list(JOIN chain " -> " text)
    message(FATAL_ERROR "${ARG_CIRCLE}: ${text}\n" ${ARG_ADVICE})
  endforeach()

  foreach(lib IN LISTS libs)
    set(MORVEL_BELOW_${lib} ${below_${lib}} PARENT_SCOPE)
  endforeach()
endfunction()

# For every library in LIBS, with the folder at the top of the tree it is built in as
# MORVEL_FOLDER_<library> and its direct links in MORVEL_LINKS_<library>: fails with the chain
# when the folders use each other in a circle through the links of their libraries.
function(morvel_folder_order)
  set(folders "")
  foreach(lib IN LISTS ARGN)
    set(from folder_${MORVEL_FOLDER_${lib}})
    list(APPEND folders ${from})
    foreach(link IN LISTS MORVEL_LINKS_${lib})
      set(to folder_${MORVEL_FOLDER_${link}})
      if(NOT to STREQUAL from)
        list(APPEND uses_${from} ${to})
      endif()
    endforeach()
  endforeach()
  list(REMOVE_DUPLICATES folders)
  foreach(folder IN LISTS folders)
    set(MORVEL_LINKS_${folder} ${uses_${folder}})
    list(REMOVE_DUPLICATES MORVEL_LINKS_${folder})
  endforeach()
  set(circle "The folders use each other in a circle (folder_<name> is the folder <name>/)")
  string(CONCAT advice "A folder's libraries may use only the libraries of the folders below it. "
         "Give the library used from below a folder of its own, below every folder that uses it.")
  morvel_library_closures(${folders} CIRCLE "${circle}" ADVICE "${advice}")
endfunction()

# The library targets of the program, in the order their folders were added.
function(morvel_program_libraries out dir)
  set(found "")
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(type MATCHES "^(STATIC|SHARED|OBJECT)_LIBRARY$")
      list(APPEND found ${target})
    endif()
  endforeach()
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(subdir IN LISTS subdirs)
    file(RELATIVE_PATH rel ${CMAKE_SOURCE_DIR} ${subdir})
    if(rel MATCHES "^(tests|fuzz|bench|tools)(/|$)")
      continue()
    endif()
    morvel_program_libraries(more ${subdir})
    list(APPEND found ${more})
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

# Checks the links of every library now and adds to each library the build step that checks
# its includes. Call once, after every folder of the program has been added.
function(morvel_check_library_order)
  morvel_program_libraries(libs ${CMAKE_SOURCE_DIR})

  # Links between the program's libraries (PUBLIC and PRIVATE alike).
  foreach(lib IN LISTS libs)
    get_target_property(links ${lib} LINK_LIBRARIES)
    set(MORVEL_LINKS_${lib} "")
    foreach(link IN LISTS links)
      if(link IN_LIST libs)
        list(APPEND MORVEL_LINKS_${lib} ${link})
      endif()
    endforeach()
  endforeach()
  morvel_library_closures(${libs})

  # The folders at the top of the tree keep the same order.
  foreach(lib IN LISTS libs)
    get_target_property(source_dir ${lib} SOURCE_DIR)
    file(RELATIVE_PATH rel ${CMAKE_SOURCE_DIR} ${source_dir})
    string(REGEX REPLACE "/.*$" "" top "${rel}")
    set(MORVEL_FOLDER_${lib} "${top}")
  endforeach()
  morvel_folder_order(${libs})

  # Each library's own files in the source tree: its sources, and the folders they lie in.
  foreach(lib IN LISTS libs)
    get_target_property(sources ${lib} SOURCES)
    get_target_property(source_dir ${lib} SOURCE_DIR)
    set(files_${lib} "")
    set(dirs_${lib} "")
    foreach(source IN LISTS sources)
      get_filename_component(path ${source} ABSOLUTE BASE_DIR ${source_dir})
      string(FIND "${path}" "${CMAKE_BINARY_DIR}/" in_build)
      file(RELATIVE_PATH rel ${CMAKE_SOURCE_DIR} ${path})
      if(in_build EQUAL 0 OR rel MATCHES "^\\.\\./")
        continue() # made by the build
      endif()
      list(APPEND files_${lib} ${rel})
      get_filename_component(dir ${rel} DIRECTORY)
      list(APPEND dirs_${lib} ${dir})
      if(rel MATCHES "\\.(h|inc)$")
        set(owner_${rel} ${lib})
      endif()
    endforeach()
    list(REMOVE_DUPLICATES dirs_${lib})
  endforeach()

  # The headers of each folder go to the folder's library, the upper one of two.
  foreach(lib IN LISTS libs)
    foreach(dir IN LISTS dirs_${lib})
      if(DEFINED folder_${dir} AND lib IN_LIST MORVEL_BELOW_${folder_${dir}})
        continue()
      endif()
      set(folder_${dir} ${lib})
    endforeach()
  endforeach()
  foreach(lib IN LISTS libs)
    foreach(dir IN LISTS dirs_${lib})
      if(NOT folder_${dir} STREQUAL lib)
        continue()
      endif()
      file(GLOB headers CONFIGURE_DEPENDS RELATIVE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/${dir}/*.h
           ${CMAKE_SOURCE_DIR}/${dir}/*.inc)
      foreach(header IN LISTS headers)
        if(NOT DEFINED owner_${header})
          set(owner_${header} ${lib})
          list(APPEND files_${lib} ${header})
        endif()
      endforeach()
    endforeach()
  endforeach()

  # The build step of each library, with what it may include written beside it.
  foreach(lib IN LISTS libs)
    set(allowed "")
    foreach(owner IN LISTS lib MORVEL_BELOW_${lib})
      foreach(file IN LISTS files_${owner})
        if(file MATCHES "\\.(h|inc)$" AND owner_${file} STREQUAL owner)
          list(APPEND allowed ${file})
        endif()
      endforeach()
    endforeach()
    set(lists ${CMAKE_BINARY_DIR}/library_order/${lib}.cmake)
    set(stamp ${CMAKE_BINARY_DIR}/library_order/${lib}.checked)
    file(GENERATE OUTPUT ${lists} CONTENT
         "set(LIBRARY ${lib})\nset(FILES [[${files_${lib}}]])\nset(ALLOWED [[${allowed}]])\n")
    list(TRANSFORM files_${lib} PREPEND ${CMAKE_SOURCE_DIR}/ OUTPUT_VARIABLE depends)
    add_custom_command(
      OUTPUT ${stamp}
      COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_SOURCE_DIR} -DLISTS=${lists} -DSTAMP=${stamp}
              -P ${MORVEL_LIBRARY_ORDER_DIR}/CheckLibraryIncludes.cmake
      DEPENDS ${depends} ${lists} ${MORVEL_LIBRARY_ORDER_DIR}/CheckLibraryIncludes.cmake
      COMMENT "Checking the includes of ${lib}"
      VERBATIM)
    add_custom_target(${lib}_includes DEPENDS ${stamp})
    add_dependencies(${lib} ${lib}_includes)
  endforeach()
endfunction()
