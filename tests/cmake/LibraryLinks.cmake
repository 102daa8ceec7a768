# Runs the link order of LibraryOrder.cmake on small graphs of made-up libraries:
#
#   cmake -DCASE=chain|circle|folders|folders_in_order -P LibraryLinks.cmake
#
# chain: top links middle and base, middle links base; every library must see exactly what
# lies below it. circle: a links b, b links c, c links b; the check must stop and name the
# circle. folders: the shell's library (folder app/) links an engine built in the folder
# estimate/, whose view library links the shell: the libraries are in order, the folders are
# not, and the check must stop and name them. folders_in_order: the engine in a folder of
# its own below both passes.
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/LibraryOrder.cmake)

if(CASE STREQUAL "chain")
  set(MORVEL_LINKS_top middle)
  set(MORVEL_LINKS_middle base)
  set(MORVEL_LINKS_base "")
  set(MORVEL_LINKS_side base)
  morvel_library_closures(top middle base side)
  foreach(pair "top:base;middle" "middle:base" "base:" "side:base")
    string(REPLACE ":" ";" parts "${pair}")
    list(POP_FRONT parts lib)
    set(got ${MORVEL_BELOW_${lib}})
    list(SORT got)
    if(NOT "${got}" STREQUAL "${parts}")
      message(FATAL_ERROR "below ${lib}: '${got}', expected '${parts}'")
    endif()
  endforeach()
  message(STATUS "chain: every library sees what lies below it")
elseif(CASE STREQUAL "circle")
  set(MORVEL_LINKS_a b)
  set(MORVEL_LINKS_b c)
  set(MORVEL_LINKS_c b)
  morvel_library_closures(a b c)
  message(STATUS "circle: not found")
elseif(CASE MATCHES "^folders")
  set(MORVEL_LINKS_shell engine base)
  set(MORVEL_LINKS_view engine shell)
  set(MORVEL_LINKS_engine base)
  set(MORVEL_LINKS_base "")
  set(MORVEL_FOLDER_shell app)
  set(MORVEL_FOLDER_view estimate)
  set(MORVEL_FOLDER_base platform)
  if(CASE STREQUAL "folders")
    set(MORVEL_FOLDER_engine estimate)
  else()
    set(MORVEL_FOLDER_engine engine)
  endif()
  morvel_library_closures(shell view engine base)
  morvel_folder_order(shell view engine base)
  message(STATUS "folders: in order")
else()
  message(FATAL_ERROR "CASE must be chain, circle, folders or folders_in_order")
endif()
