# Desktop integration (menu entry, themed icons) and the Debian package.

set(VELMORA_ICON_SVG ${PROJECT_SOURCE_DIR}/src/window/resources/velmora.svg)
set(VELMORA_ICON_SIZES 16 22 24 32 48 64 128 256)

qt_add_executable(velmora_render_icon ${PROJECT_SOURCE_DIR}/packaging/render-icon.cpp)
set_target_properties(velmora_render_icon PROPERTIES
  OUTPUT_NAME velmora-render-icon
  RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/packaging)
target_link_libraries(velmora_render_icon PRIVATE Qt6::Gui Qt6::Svg)
velmora_target_settings(velmora_render_icon)

set(_velmora_icon_pngs)
foreach(size IN LISTS VELMORA_ICON_SIZES)
  set(png ${CMAKE_CURRENT_BINARY_DIR}/packaging/icons/${size}x${size}/velmora.png)
  # The tool exits right after painting; leak reports from Qt's globals would only fail the
  # sanitizer build.
  add_custom_command(
    OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/packaging/icons/${size}x${size}
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
            $<TARGET_FILE:velmora_render_icon> ${VELMORA_ICON_SVG} ${png} ${size}
    DEPENDS velmora_render_icon ${VELMORA_ICON_SVG}
    COMMENT "Rendering ${size}x${size} application icon"
    VERBATIM)
  list(APPEND _velmora_icon_pngs ${png})
  install(FILES ${png}
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(velmora_icons ALL DEPENDS ${_velmora_icon_pngs})

install(FILES ${VELMORA_ICON_SVG}
  DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/velmora.desktop
  DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velmora)
set(CPACK_PACKAGE_VENDOR "Velmora maintainers")
set(CPACK_PACKAGE_CONTACT "Velmora maintainers <maintainers@velmora.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Desktop imitation of the 3D lottery drawing machine")
set(CPACK_PACKAGE_DESCRIPTION
  "Three rolling digit reels, a manual draw of one digit every three seconds with a numbered
draw log, and an automatic draw that repeats until it meets the previous official result.
Chart links open in the system web browser; two small panes show pages of the vendor site.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY velmora)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Velmora maintainers <maintainers@velmora.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PROJECT_HOMEPAGE_URL})
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
