# The Windows release: velmora-<version>-win64.zip with the program, its licence, the notices of
# what is linked into it, the program's source and a short note in Chinese, for those who install
# nothing; and velmora-<version>-win64.msi, which installs the same for the user alone, with a
# Start menu entry. Both are packed from one staged folder, release/, in which each file has one
# rule that writes it: two rules writing one file would race.
set(VELMORA_ZIP ${PROJECT_BINARY_DIR}/velmora-${PROJECT_VERSION}-win64.zip)
set(VELMORA_MSI ${PROJECT_BINARY_DIR}/velmora-${PROJECT_VERSION}-win64.msi)
set(_release_dir ${PROJECT_BINARY_DIR}/release)
set(_packaging ${PROJECT_SOURCE_DIR}/packaging/windows)
set(_source_zip velmora-${PROJECT_VERSION}-source.zip)
# Made when velmora.exe is linked.
set(VELMORA_ICO ${PROJECT_BINARY_DIR}/src/app/velmora.ico)
set(VELMORA_MAP ${PROJECT_BINARY_DIR}/src/app/velmora.map)
# Notepad and Explorer on a Chinese Windows read the note as UTF-8 by its byte order mark.
set(VELMORA_QT_VERSION ${Qt6_VERSION})
configure_file(${_packaging}/readme-zh.txt.in ${_release_dir}/说明.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${_release_dir}/LICENSE COPYONLY)

add_custom_command(
  OUTPUT ${_release_dir}/velmora.exe
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:velmora> ${_release_dir}/velmora.exe
  DEPENDS velmora
  VERBATIM)
# From the linker's map of velmora.exe: what is in it decides whose notices go with it. Files from
# elsewhere that the program embeds are named by the targets that embed them.
get_property(_embedded GLOBAL PROPERTY VELMORA_EMBEDDED_FILES)
add_custom_command(
  OUTPUT ${_release_dir}/THIRD-PARTY-NOTICES.txt
  COMMAND ${_packaging}/notices ${VELMORA_MAP} ${VELMORA_WINDOWS_QT} ${PROJECT_BINARY_DIR}
          ${PROJECT_VERSION} ${_release_dir}/THIRD-PARTY-NOTICES.txt ${_embedded}
  DEPENDS velmora ${_packaging}/notices ${_embedded}
  COMMENT "Writing the notices of what velmora.exe links"
  VERBATIM)
# Made on every build, but rewritten only when the source changed.
add_custom_target(velmora_source_zip ALL
  COMMAND ${_packaging}/source-zip ${PROJECT_SOURCE_DIR} ${PROJECT_VERSION}
          ${_release_dir}/${_source_zip}
  BYPRODUCTS ${_release_dir}/${_source_zip}
  VERBATIM)
set(_release_files velmora.exe LICENSE THIRD-PARTY-NOTICES.txt ${_source_zip} 说明.txt)
list(TRANSFORM _release_files PREPEND ${_release_dir}/ OUTPUT_VARIABLE _staged)

# libarchive names the members in the locale's character set, and a C locale has none for
# 说明.txt. An archive gets its name only once it is whole, so a failed step leaves none behind.
add_custom_command(
  OUTPUT ${VELMORA_ZIP}
  COMMAND ${CMAKE_COMMAND} -E chdir ${_release_dir}
          ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8
          ${CMAKE_COMMAND} -E tar cf ${VELMORA_ZIP}.part --format=zip ${_release_files}
  COMMAND ${CMAKE_COMMAND} -E rename ${VELMORA_ZIP}.part ${VELMORA_ZIP}
  DEPENDS ${_staged}
  COMMENT "Packing ${VELMORA_ZIP}"
  VERBATIM)
add_custom_target(velmora_zip ALL DEPENDS ${VELMORA_ZIP})
add_dependencies(velmora_zip velmora_source_zip)

find_program(VELMORA_WIXL wixl)
find_program(VELMORA_MSIBUILD msibuild)
if(VELMORA_WIXL AND VELMORA_MSIBUILD)
  set(_make_msi ${_packaging}/make-msi)
  add_custom_command(
    OUTPUT ${_release_dir}/velmora.ico
    COMMAND ${CMAKE_COMMAND} -E copy ${VELMORA_ICO} ${_release_dir}/velmora.ico
    DEPENDS velmora ${VELMORA_ICO}
    VERBATIM)
  add_custom_command(
    OUTPUT ${VELMORA_MSI}
    COMMAND ${_make_msi} ${PROJECT_VERSION} ${VELMORA_VENDOR_SITE} ${_release_dir} ${VELMORA_MSI}
    DEPENDS ${_staged} ${_release_dir}/velmora.ico ${_make_msi} ${_packaging}/velmora.wxs
    COMMENT "Building ${VELMORA_MSI}"
    VERBATIM)
  add_custom_target(velmora_msi ALL DEPENDS ${VELMORA_MSI})
  add_dependencies(velmora_msi velmora_source_zip)
else()
  message(WARNING "wixl and msibuild (Debian packages wixl, msitools) not found: no Windows installer")
endif()

if(VELMORA_BUILD_TESTS)
  # What a user unpacks or installs, read back by tools that are not the ones that wrote it, and
  # compared with the program as it was linked.
  add_test(NAME release_archives
    COMMAND ${_packaging}/check-release ${VELMORA_ZIP} ${VELMORA_MSI} ${PROJECT_VERSION}
            $<TARGET_FILE:velmora> ${VELMORA_MAP} ${_release_files})
  set_tests_properties(release_archives PROPERTIES TIMEOUT 600
    ENVIRONMENT "WINEPREFIX=${PROJECT_BINARY_DIR}/wine-install")
endif()
