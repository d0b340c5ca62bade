# The picture renderer runs on the build machine while the program is built. A native build makes
# it from this tree; a cross build makes it as a project of its own, with the build machine's
# compiler and Qt.
if(CMAKE_CROSSCOMPILING)
  include(ExternalProject)
  set(_host_tools ${PROJECT_BINARY_DIR}/host-tools)
  ExternalProject_Add(velmora_host_tools
    SOURCE_DIR ${PROJECT_SOURCE_DIR}/packaging/render-icon
    BINARY_DIR ${_host_tools}
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release
    INSTALL_COMMAND ""
    BUILD_ALWAYS ON
    BUILD_BYPRODUCTS ${_host_tools}/velmora-render-icon
    LOG_CONFIGURE ON LOG_BUILD ON LOG_OUTPUT_ON_FAILURE ON)
  set(VELMORA_RENDER_ICON ${_host_tools}/velmora-render-icon)
  set(VELMORA_RENDER_ICON_TARGET velmora_host_tools)
else()
  add_subdirectory(packaging/render-icon)
  set(VELMORA_RENDER_ICON $<TARGET_FILE:velmora_render_icon>)
  set(VELMORA_RENDER_ICON_TARGET velmora_render_icon)
endif()

# Renders an SVG file to OUTPUT: a PNG of SIZE ("N" or "WxH"), or an ICO holding each size of
# SIZE ("N,N,...").
function(velmora_render_picture svg output size)
  get_filename_component(dir ${output} DIRECTORY)
  get_filename_component(name ${output} NAME)
  # The tool exits right after painting; leak reports from Qt's globals would only fail the
  # sanitizer build.
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0
            ${VELMORA_RENDER_ICON} ${svg} ${output} ${size}
    DEPENDS ${VELMORA_RENDER_ICON_TARGET} ${svg}
    COMMENT "Rendering ${name} (${size})"
    VERBATIM)
endfunction()
