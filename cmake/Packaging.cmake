# Desktop integration (menu entry, themed icons) and the Debian package.

set(VELMORA_ICON_SVG ${PROJECT_SOURCE_DIR}/src/window/resources/velmora.svg)
set(VELMORA_ICON_SIZES 16 22 24 32 48 64 128 256)

set(_velmora_icon_pngs)
foreach(size IN LISTS VELMORA_ICON_SIZES)
  set(png ${CMAKE_CURRENT_BINARY_DIR}/packaging/icons/${size}x${size}/velmora.png)
  velmora_render_picture(${VELMORA_ICON_SVG} ${png} ${size})
  list(APPEND _velmora_icon_pngs ${png})
  install(FILES ${png}
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(velmora_icons ALL DEPENDS ${_velmora_icon_pngs})

install(FILES ${VELMORA_ICON_SVG}
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/velmora.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# Date of this version, for the AppStream release and the manual page; packaging/changelog says
# the same for Debian.
set(VELMORA_RELEASE_DATE 2026-12-06)
configure_file(${PROJECT_SOURCE_DIR}/packaging/org.velmora.velmora.metainfo.xml.in
  ${CMAKE_CURRENT_BINARY_DIR}/packaging/org.velmora.velmora.metainfo.xml @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/packaging/org.velmora.velmora.metainfo.xml
  DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The manual page names the sites and paths of this build. Hyphens are escaped so that man shows
# them as typed.
function(_velmora_man_text out text)
  string(REPLACE "-" "\\-" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()
_velmora_man_text(VELMORA_MAN_VENDOR_SITE "${VELMORA_VENDOR_SITE}")
_velmora_man_text(VELMORA_MAN_CHART_SITE "${VELMORA_CHART_SITE}")
_velmora_man_text(VELMORA_MAN_BINDIR "${CMAKE_INSTALL_FULL_BINDIR}")
_velmora_man_text(VELMORA_MAN_DATADIR "${CMAKE_INSTALL_FULL_DATADIR}")
set(VELMORA_MAN_PANES "")
if(VELMORA_WITH_WEBENGINE)
  _velmora_man_text(_panes "${CMAKE_INSTALL_FULL_LIBDIR}/velmora/plugins/libvelmora_panes.so")
  set(VELMORA_MAN_PANES ".TP\n.I ${_panes}\nThe web panes (Qt WebEngine).\n")
endif()
configure_file(${PROJECT_SOURCE_DIR}/packaging/velmora.1.in
  ${CMAKE_CURRENT_BINARY_DIR}/packaging/velmora.1 @ONLY)

# Debian wants the manual page and the changelog compressed at the highest level, without a time
# stamp.
find_program(VELMORA_GZIP gzip REQUIRED)
set(_velmora_gzipped)
foreach(doc velmora.1 changelog)
  if(doc STREQUAL "changelog")
    set(source ${PROJECT_SOURCE_DIR}/packaging/changelog)
  else()
    set(source ${CMAKE_CURRENT_BINARY_DIR}/packaging/${doc})
  endif()
  set(gz ${CMAKE_CURRENT_BINARY_DIR}/packaging/gz/${doc}.gz)
  add_custom_command(
    OUTPUT ${gz}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/packaging/gz
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${CMAKE_CURRENT_BINARY_DIR}/packaging/gz/${doc}
    COMMAND ${VELMORA_GZIP} -9nf ${CMAKE_CURRENT_BINARY_DIR}/packaging/gz/${doc}
    DEPENDS ${source}
    VERBATIM)
  list(APPEND _velmora_gzipped ${gz})
endforeach()
add_custom_target(velmora_docs ALL DEPENDS ${_velmora_gzipped})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/packaging/gz/velmora.1.gz
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/packaging/gz/changelog.gz
        ${PROJECT_SOURCE_DIR}/packaging/copyright
  DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VENDOR "Velmora maintainers")
set(CPACK_PACKAGE_CONTACT "Velmora maintainers <maintainers@velmora.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Desktop imitation of the 3D lottery drawing machine")
# Debian shows the description as written: lines of at most 79 characters, paragraphs apart.
set(CPACK_PACKAGE_DESCRIPTION [=[
Velmora imitates the drawing machine of the 3D daily lottery game: three
digits, each from 0 to 9, drawn one after the other. Its single window is in
Simplified Chinese.

A manual draw rolls three digit reels and draws one digit every three seconds;
each result goes to a numbered draw record. An automatic draw takes the
previous official result and draws every ten seconds until a draw equals it.

Buttons open trend and history charts of the game in the system web browser,
and two small panes show pages of the vendor site. The program keeps no files
and no settings.]=])
set(CPACK_PACKAGE_INSTALL_DIRECTORY velmora)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Stripped as Debian's own tools strip, compilers' notes included.
set(CPACK_STRIP_FILES OFF)
set(CPACK_VELMORA_STRIP ${CMAKE_STRIP})
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/packaging/strip.cmake)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Velmora maintainers <maintainers@velmora.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${VELMORA_VENDOR_SITE})
set(_velmora_deb_depends
  "libc6 (>= 2.34)"
  "libstdc++6 (>= 12)"
  "libqt6core6 (>= 6.4)"
  "libqt6gui6 (>= 6.4)"
  "libqt6widgets6 (>= 6.4)"
  "libqt6svg6 (>= 6.4)"
  "qt6-qpa-plugins (>= 6.4)")
if(VELMORA_WITH_WEBENGINE)
  list(APPEND _velmora_deb_depends "libqt6webenginewidgets6 (>= 6.4)")
endif()
list(APPEND _velmora_deb_depends fonts-arphic-uming xdg-utils)
list(JOIN _velmora_deb_depends ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
# Qt's own texts (the text boxes' context menus) in Chinese.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
include(CPack)
