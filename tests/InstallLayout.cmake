# Installs the build into PREFIX and checks that the files a desktop looks for are there.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX}
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${out} ${err}")
endif()
foreach(f bin/pelwick bin/pelwick-feed share/applications/screensavers/pelwick.desktop share/xscreensaver/config/pelwick.xml
    share/man/man6/pelwick.6 share/metainfo/org.pelwick.pelwick.metainfo.xml
    share/icons/hicolor/scalable/apps/pelwick.svg)
  if(NOT EXISTS ${PREFIX}/${f})
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()
# The developers' tools stay in the build folder.
file(GLOB programs RELATIVE ${PREFIX}/bin ${PREFIX}/bin/*)
list(SORT programs)
if(NOT programs STREQUAL "pelwick;pelwick-feed")
  message(FATAL_ERROR "bin/ should hold pelwick and pelwick-feed alone, not: ${programs}")
endif()
file(READ ${PREFIX}/share/applications/screensavers/pelwick.desktop desktop)
if(NOT desktop MATCHES "Categories=Screensaver;" OR NOT desktop MATCHES "Exec=pelwick -root")
  message(FATAL_ERROR "the screen-saver entry lacks its category or command")
endif()
file(READ ${PREFIX}/share/man/man6/pelwick.6 man)
if(man MATCHES "@PELWICK_VERSION@")
  message(FATAL_ERROR "the manual page carries no version")
endif()
file(REMOVE_RECURSE ${PREFIX})
