# The Debian package (scripts/package, preset "package"): the places Debian's screen savers
# look in, the files Debian's policy asks for, and CPack's DEB generator, which works out the
# dependencies from the programs themselves with dpkg-shlibdeps.

set(PELWICK_PACKAGE_MAINTAINER "Pelwick developers <pelwick@users.noreply.invalid>"
  CACHE STRING "The package's Maintainer field: a name and a mail address")
set(_staged ${CMAKE_BINARY_DIR}/debian)
# cpack builds only what it installs; scripts/package builds pelwick and pelwick-feed first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
file(MAKE_DIRECTORY ${_staged})

# Debian's XScreenSaver runs its hacks from its own folder; a relative link keeps one program.
set(_hacks ${CMAKE_INSTALL_LIBEXECDIR}/xscreensaver)
file(RELATIVE_PATH _target ${CMAKE_INSTALL_PREFIX}/${_hacks} ${CMAKE_INSTALL_FULL_BINDIR}/pelwick)
file(CREATE_LINK ${_target} ${_staged}/pelwick SYMBOLIC)
install(FILES ${_staged}/pelwick DESTINATION ${_hacks})

# MATE's (and Xfce's) screen saver runs a theme only from the folders it knows, XScreenSaver's
# among them, and packaged themes name it by full path there.
file(READ resources/linux/pelwick.desktop _desktop)
string(REGEX REPLACE "(^|\n)(TryExec|Exec)=pelwick" "\\1\\2=${CMAKE_INSTALL_PREFIX}/${_hacks}/pelwick"
  _desktop "${_desktop}")
if(NOT _desktop MATCHES "\nTryExec=/[^\n]*\nExec=/")
  message(FATAL_ERROR "pelwick.desktop: TryExec and Exec should be \"pelwick ...\"")
endif()
file(CONFIGURE OUTPUT ${_staged}/pelwick.desktop CONTENT "${_desktop}" @ONLY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS resources/linux/pelwick.desktop)
install(FILES ${_staged}/pelwick.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications/screensavers)

# Manual pages and changelogs are compressed, without a name or a time in the header, so the
# package is the same from the same sources.
function(pelwick_gzip source target)
  execute_process(COMMAND gzip -9n -c ${source} OUTPUT_FILE ${target} RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "gzip ${source} failed")
  endif()
endfunction()
pelwick_gzip(${CMAKE_BINARY_DIR}/pelwick.6 ${_staged}/pelwick.6.gz)
install(FILES ${_staged}/pelwick.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)

# SOURCE_DATE_EPOCH, when set, dates the entry (scripts/package sets the last commit's time).
string(TIMESTAMP PELWICK_PACKAGE_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(resources/debian/changelog.in ${_staged}/changelog @ONLY)
pelwick_gzip(${_staged}/changelog ${_staged}/changelog.gz)
install(FILES resources/debian/copyright ${_staged}/changelog.gz
  DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/pelwick)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pelwick)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${PELWICK_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "news-wall screen saver: feed headlines over your pictures")
# Lines of the long description stay within 80 columns; an empty one starts a paragraph.
# CPack splits the text at semicolons and drops quotes, so it has none.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Pelwick shows the headlines of the RSS, RDF and Atom feeds you list in a"
  "translucent panel, with the current item as a small card beside it, over a"
  "full-screen slideshow of your own pictures."
  ""
  "It runs inside XScreenSaver, the screen savers of MATE and Xfce, or on its"
  "own. Its options dialog (pelwick /c) chooses the feeds and the pictures.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its X11 platform plugin at run time, so no library names it; without it no window
# can open.
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
# Faces for the scripts headlines come in: Noto for most of the world's, WenQuanYi or Noto CJK
# for Chinese, Japanese and Korean.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-core, fonts-wqy-microhei | fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "xscreensaver | mate-screensaver | xfce4-screensaver")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
  GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
