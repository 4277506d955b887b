# Installation and packages.
#
# Linux: `cmake --install` puts the viewer, its desktop entry, the icon in
# the hicolor theme sizes and the man page under CMAKE_INSTALL_PREFIX; CPack
# makes a Debian package of that tree. Windows: a ZIP with quimbar.exe and
# the README.
include(GNUInstallDirs)

set(CPACK_PACKAGE_NAME quimbar)
set(CPACK_PACKAGE_VENDOR "Quimbar-Entwicklerteam")
set(CPACK_PACKAGE_CONTACT "Quimbar-Entwicklerteam <quimbar@invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Interactive viewer for Mandelbrot and Julia set fractals")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_RESOURCE_FILE_README ${PROJECT_SOURCE_DIR}/README.md)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_STRIP_FILES ON)

if(WIN32)
  if(TARGET quimbar)
    install(TARGETS quimbar RUNTIME DESTINATION .)
  endif()
  install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION .)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME quimbar-${PROJECT_VERSION}-win64)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
else()
  if(TARGET quimbar)
    install(TARGETS quimbar RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
  install(FILES ${PROJECT_SOURCE_DIR}/resources/quimbar.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  foreach(size 16 24 32 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/${size}x${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME quimbar.png)
  endforeach()
  install(FILES ${PROJECT_SOURCE_DIR}/resources/quimbar.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://quimbar.invalid")
  # The shared libraries the binary links (FLTK, X11, libstdc++) become
  # package dependencies, found by dpkg-shlibdeps.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_PACKAGE_DESCRIPTION
      "Quimbar draws escape-time pictures of the Mandelbrot set and of quadratic, cubic and trigonometric Julia sets. It has a German menu; zoom and pan with the menu or the arrow and keypad +/- keys.")
endif()
include(CPack)
