cmake_minimum_required(VERSION 3.25)
# A library may include no header of a library that its links do not reach: the include
# check written for LOW by cmake/LibraryOrder.cmake allows it none of HIGH's own headers.
# HIGH_HEADER, a header of HIGH, shows that the headers looked for are HIGH's; LOW_HEADER, one
# of LOW's own, shows that the list read is LOW's. With USED_BY_HIGH, HIGH may include
# LOW_HEADER (HIGH stands above LOW rather than beside it).
foreach(lib ${LOW} ${HIGH})
  if(NOT EXISTS ${ORDER_DIR}/${lib}.cmake)
    message(FATAL_ERROR "no include check for ${lib}")
  endif()
  include(${ORDER_DIR}/${lib}.cmake)
  set(files_${lib} ${FILES})
  set(allowed_${lib} ${ALLOWED})
endforeach()

if(NOT "${LOW_HEADER}" IN_LIST files_${LOW})
  message(FATAL_ERROR "${LOW_HEADER} is not ${LOW}'s own")
endif()
if(NOT "${HIGH_HEADER}" IN_LIST files_${HIGH})
  message(FATAL_ERROR "${HIGH_HEADER} is not ${HIGH}'s own")
endif()
foreach(header IN LISTS allowed_${LOW})
  if(header MATCHES "\\.(h|inc)$" AND header IN_LIST files_${HIGH})
    message(FATAL_ERROR "${LOW} may include ${header} of ${HIGH}")
  endif()
endforeach()
if(USED_BY_HIGH AND NOT "${LOW_HEADER}" IN_LIST allowed_${HIGH})
  message(FATAL_ERROR "${HIGH} may not include ${LOW_HEADER}")
endif()
message(STATUS "${LOW} reaches no header of ${HIGH}")
