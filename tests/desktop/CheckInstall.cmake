# Installs the build into PREFIX and checks what a desktop needs to list and start the
# program and to open its files: cmake -DBUILD_DIR=<build> -DPREFIX=<dir> -P CheckInstall.cmake
file(REMOVE_RECURSE ${PREFIX})
# A staged installation (DESTDIR) leaves the desktop's caches alone.
set(ENV{DESTDIR} "")
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(expected
    bin/morvel
    share/applications/morvel.desktop
    share/mime/packages/morvel.xml
    share/morvel/help/index.html
    share/morvel/help/estimate.html)
foreach(size 16 22 24 32 48 64 128 256)
  list(APPEND expected share/icons/hicolor/${size}x${size}/apps/morvel.png
       share/icons/hicolor/${size}x${size}/mimetypes/application-x-morvel-estimate.png
       share/icons/hicolor/${size}x${size}/mimetypes/application-x-morvel-parts.png)
endforeach()
foreach(path ${expected})
  if(NOT EXISTS ${PREFIX}/${path})
    message(FATAL_ERROR "not installed: ${path}")
  endif()
endforeach()
file(GET_RUNTIME_DEPENDENCIES EXECUTABLES ${PREFIX}/bin/morvel RESOLVED_DEPENDENCIES_VAR libraries
     UNRESOLVED_DEPENDENCIES_VAR missing)
if(missing)
  message(FATAL_ERROR "bin/morvel needs libraries that are not found: ${missing}")
endif()

# The entry starts the program with the file it is given, shows the program's icon and
# offers the program for both file types.
file(READ ${PREFIX}/share/applications/morvel.desktop entry)
foreach(line "Exec=morvel %f" "Icon=morvel" "Type=Application"
             "MimeType=application/x-morvel-estimate;application/x-morvel-parts;")
  string(FIND "${entry}" "${line}\n" at)
  if(at LESS 0)
    message(FATAL_ERROR "morvel.desktop lacks \"${line}\"")
  endif()
endforeach()
file(READ ${PREFIX}/share/mime/packages/morvel.xml types)
foreach(text "type=\"application/x-morvel-estimate\"" "pattern=\"*.mmd\"" "type=\"application/x-morvel-parts\""
             "pattern=\"*.mbd\"")
  string(FIND "${types}" "${text}" at)
  if(at LESS 0)
    message(FATAL_ERROR "morvel.xml lacks ${text}")
  endif()
endforeach()

# The desktop's own checker, where it is installed (desktop-file-utils).
find_program(VALIDATE desktop-file-validate)
if(VALIDATE)
  execute_process(COMMAND ${VALIDATE} ${PREFIX}/share/applications/morvel.desktop RESULT_VARIABLE result
                  OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT result EQUAL 0 OR NOT "${out}" STREQUAL "")
    message(FATAL_ERROR "desktop-file-validate: ${out}")
  endif()
endif()
file(REMOVE_RECURSE ${PREFIX})
