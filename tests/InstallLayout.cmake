# Installs the build into PREFIX and checks that the files a desktop looks for are there.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${out} ${err}")
endif()
foreach(f bin/pelwick bin/pelwick-feed bin/pelwick-transition bin/pelwick-text
    share/applications/screensavers/pelwick.desktop share/xscreensaver/config/pelwick.xml
    share/man/man6/pelwick.6)
  if(NOT EXISTS ${PREFIX}/${f})
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()
file(READ ${PREFIX}/share/applications/screensavers/pelwick.desktop desktop)
if(NOT desktop MATCHES "Categories=Screensaver;" OR NOT desktop MATCHES "Exec=pelwick -root")
  message(FATAL_ERROR "the screen-saver entry lacks its category or command")
endif()
file(READ ${PREFIX}/share/man/man6/pelwick.6 man)
if(man MATCHES "@PELWICK_VERSION@")
  message(FATAL_ERROR "the manual page carries no version")
endif()
file(REMOVE_RECURSE ${PREFIX})
