# The Windows release: velmora-<version>-win64.zip with the program, its licence and a short note
# in Chinese, for those who install nothing, and velmora-<version>-win64.msi, which installs the
# program and its licence for the user alone, with a Start menu entry.
set(VELMORA_ZIP ${PROJECT_BINARY_DIR}/velmora-${PROJECT_VERSION}-win64.zip)
set(VELMORA_MSI ${PROJECT_BINARY_DIR}/velmora-${PROJECT_VERSION}-win64.msi)
set(_release_dir ${PROJECT_BINARY_DIR}/release)
# Rendered with the program's resources.
set(VELMORA_ICO ${PROJECT_BINARY_DIR}/src/app/velmora.ico)
# Notepad and Explorer on a Chinese Windows read the note as UTF-8 by its byte order mark.
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/readme-zh.txt.in ${_release_dir}/说明.txt
  @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${_release_dir}/LICENSE COPYONLY)
set(_release_files velmora.exe LICENSE 说明.txt)

# libarchive names the members in the locale's character set, and a C locale has none for
# 说明.txt. An archive gets its name only once it is whole, so a failed step leaves none behind.
add_custom_command(
  OUTPUT ${VELMORA_ZIP}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:velmora> ${_release_dir}/velmora.exe
  COMMAND ${CMAKE_COMMAND} -E chdir ${_release_dir}
          ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8
          ${CMAKE_COMMAND} -E tar cf ${VELMORA_ZIP}.part --format=zip ${_release_files}
  COMMAND ${CMAKE_COMMAND} -E rename ${VELMORA_ZIP}.part ${VELMORA_ZIP}
  DEPENDS velmora ${_release_dir}/说明.txt ${_release_dir}/LICENSE
  COMMENT "Packing ${VELMORA_ZIP}"
  VERBATIM)
add_custom_target(velmora_zip ALL DEPENDS ${VELMORA_ZIP})

find_program(VELMORA_WIXL wixl)
find_program(VELMORA_MSIBUILD msibuild)
if(VELMORA_WIXL AND VELMORA_MSIBUILD)
  set(_make_msi ${PROJECT_SOURCE_DIR}/packaging/windows/make-msi)
  add_custom_command(
    OUTPUT ${VELMORA_MSI}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:velmora> ${_release_dir}/velmora.exe
    COMMAND ${CMAKE_COMMAND} -E copy ${VELMORA_ICO} ${_release_dir}/velmora.ico
    COMMAND ${_make_msi} ${PROJECT_VERSION} ${VELMORA_VENDOR_SITE} ${_release_dir} ${VELMORA_MSI}
    DEPENDS velmora ${_make_msi} ${PROJECT_SOURCE_DIR}/packaging/windows/velmora.wxs
            ${_release_dir}/LICENSE
    COMMENT "Building ${VELMORA_MSI}"
    VERBATIM)
  add_custom_target(velmora_msi ALL DEPENDS ${VELMORA_MSI})
else()
  message(WARNING "wixl and msibuild (Debian packages wixl, msitools) not found: no Windows installer")
endif()

if(VELMORA_BUILD_TESTS)
  # What a user unpacks or installs, read back by tools that are not the ones that wrote it.
  add_test(NAME release_archives
    COMMAND ${PROJECT_SOURCE_DIR}/packaging/windows/check-release ${VELMORA_ZIP} ${VELMORA_MSI}
            ${PROJECT_VERSION} ${_release_files})
  set_tests_properties(release_archives PROPERTIES TIMEOUT 600
    ENVIRONMENT "WINEPREFIX=${PROJECT_BINARY_DIR}/wine-install")
endif()
