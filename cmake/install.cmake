# Installation and packages.
#
# Linux: `cmake --install` puts the viewer and quimbar-send, the desktop
# entry, the icon in the hicolor theme sizes, the man pages and the package
# documents under CMAKE_INSTALL_PREFIX; CPack makes a Debian package of that tree. Windows: a
# ZIP with quimbar.exe, the licence and a README for Windows users.
include(GNUInstallDirs)

set(CPACK_PACKAGE_NAME quimbar)
set(CPACK_PACKAGE_VENDOR "Quimbar-Entwicklerteam")
set(CPACK_PACKAGE_CONTACT "Quimbar-Entwicklerteam <team@quimbar.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Interactive viewer for Mandelbrot and Julia set fractals")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_RESOURCE_FILE_README ${PROJECT_SOURCE_DIR}/README.md)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_STRIP_FILES ON)

if(WIN32)
  if(TARGET quimbar)
    install(TARGETS quimbar RUNTIME DESTINATION .)
  endif()
  # Windows users read plain text with CRLF line ends.
  configure_file(${PROJECT_SOURCE_DIR}/resources/windows/README.txt
                 ${CMAKE_BINARY_DIR}/README.txt @ONLY NEWLINE_STYLE CRLF)
  configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${CMAKE_BINARY_DIR}/LICENSE.txt
                 @ONLY NEWLINE_STYLE CRLF)
  install(FILES ${CMAKE_BINARY_DIR}/README.txt ${CMAKE_BINARY_DIR}/LICENSE.txt DESTINATION .)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME quimbar-${PROJECT_VERSION}-win64)
  set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
else()
  if(TARGET quimbar)
    install(TARGETS quimbar quimbar-send RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
  install(FILES ${PROJECT_SOURCE_DIR}/resources/quimbar.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  foreach(size 16 24 32 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/${size}x${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME quimbar.png)
  endforeach()

  # Man page and changelog compressed as Debian wants them: gzip -9 without
  # name or time stamp, so the package is reproducible.
  find_program(QUIMBAR_GZIP gzip REQUIRED)
  set(gzipped)
  foreach(doc resources/quimbar.1 resources/quimbar-send.1 resources/changelog)
    get_filename_component(name ${doc} NAME)
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/docs/${name}.gz
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/docs
      COMMAND ${QUIMBAR_GZIP} -9nc ${PROJECT_SOURCE_DIR}/${doc} > ${CMAKE_BINARY_DIR}/docs/${name}.gz
      DEPENDS ${PROJECT_SOURCE_DIR}/${doc} VERBATIM)
    list(APPEND gzipped ${CMAKE_BINARY_DIR}/docs/${name}.gz)
  endforeach()
  add_custom_target(quimbar_docs ALL DEPENDS ${gzipped})
  if(TARGET quimbar)
    add_dependencies(quimbar quimbar_docs quimbar-send)  # a build of the viewer alone can be packaged
  endif()
  install(FILES ${CMAKE_BINARY_DIR}/docs/quimbar.1.gz ${CMAKE_BINARY_DIR}/docs/quimbar-send.1.gz
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${CMAKE_BINARY_DIR}/docs/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quimbar)
  install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quimbar RENAME copyright)

  set(CPACK_GENERATOR DEB)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
  set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://quimbar.invalid")
  # The shared libraries the binary links (FLTK, X11, libstdc++) become
  # package dependencies, found by dpkg-shlibdeps; the dialogs are laid out
  # for Nimbus Sans, whose metrics match the templates' font.
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-urw-base35")
  set(CPACK_PACKAGE_DESCRIPTION [=[
Quimbar draws escape-time pictures of the Mandelbrot set and of quadratic,
cubic and trigonometric Julia sets. It has a German menu; zoom and pan with
the menu or the arrow and keypad +/- keys.]=])
  string(STRIP "${CPACK_PACKAGE_DESCRIPTION}" CPACK_PACKAGE_DESCRIPTION)
endif()
include(CPack)
