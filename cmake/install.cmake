# Installation and packages.
#
# Linux: `cmake --install` puts the viewer and quimbar-send, the desktop
# entry and AppStream metadata, the icon in the hicolor theme sizes, the man
# pages and the package documents under CMAKE_INSTALL_PREFIX; CPack makes a
# Debian package of that tree. Windows: a ZIP with quimbar.exe, the licence
# and a README for Windows users, and an installer of the same files.
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
  # The installer of the same files (cpack -G NSIS, Debian's nsis): our own
  # template, resources/windows/NSIS.template.in, named ...-win64-setup.exe.
  set(CPACK_MODULE_PATH ${PROJECT_SOURCE_DIR}/resources/windows)
  set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/resources/quimbar.ico)
  set(CPACK_NSIS_EXECUTABLE_PRE_ARGUMENTS "INPUTCHARSET UTF8")  # umlauts in the German texts
  set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/cpack-per-generator.cmake)
  file(WRITE ${CPACK_PROJECT_CONFIG_FILE}
       "if(CPACK_GENERATOR STREQUAL NSIS)\n  string(APPEND CPACK_PACKAGE_FILE_NAME -setup)\nendif()\n")
else()
  if(TARGET quimbar)
    install(TARGETS quimbar quimbar-send RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
  # The desktop entry and the software centres' metadata carry one id, in
  # reverse DNS of the project's domain (quimbar.invalid, as the package's
  # homepage); the release date is that of the changelog's newest entry.
  set(QUIMBAR_APP_ID invalid.quimbar.quimbar)
  install(FILES ${PROJECT_SOURCE_DIR}/resources/quimbar.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications RENAME ${QUIMBAR_APP_ID}.desktop)
  set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
  file(STRINGS ${PROJECT_SOURCE_DIR}/resources/changelog trailer REGEX "^ -- " LIMIT_COUNT 1)
  string(REGEX MATCH ", ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9]+) " _ "${trailer}")
  list(FIND months "${CMAKE_MATCH_2}" month)
  math(EXPR month "${month} + 101")  # two digits after the 1
  string(SUBSTRING ${month} 1 2 month)
  set(QUIMBAR_RELEASE_DATE ${CMAKE_MATCH_3}-${month}-${CMAKE_MATCH_1})
  configure_file(${PROJECT_SOURCE_DIR}/resources/quimbar.metainfo.xml.in
                 ${CMAKE_BINARY_DIR}/${QUIMBAR_APP_ID}.metainfo.xml @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/${QUIMBAR_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
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
