# Runs the link order of LibraryOrder.cmake on small graphs of made-up libraries:
#
#   cmake -DCASE=chain|circle -P LibraryLinks.cmake
#
# chain: top links middle and base, middle links base; every library must see exactly what
# lies below it. circle: a links b, b links c, c links b; the check must stop and name the
# circle.
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
else()
  message(FATAL_ERROR "CASE must be chain or circle")
endif()
