# The Windows release: velmora-<version>-win64.zip with the program, its licence and a short
# note in Chinese. The program needs no installation, so there is no installer.
set(VELMORA_ZIP ${PROJECT_BINARY_DIR}/velmora-${PROJECT_VERSION}-win64.zip)
set(_zip_dir ${PROJECT_BINARY_DIR}/release)
# Notepad and Explorer on a Chinese Windows read the note as UTF-8 by its byte order mark.
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/readme-zh.txt.in ${_zip_dir}/说明.txt
  @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${_zip_dir}/LICENSE COPYONLY)
add_custom_command(
  OUTPUT ${VELMORA_ZIP}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:velmora> ${_zip_dir}/velmora.exe
  COMMAND ${CMAKE_COMMAND} -E rm -f ${VELMORA_ZIP}
  COMMAND ${CMAKE_COMMAND} -E chdir ${_zip_dir}
          ${CMAKE_COMMAND} -E tar cf ${VELMORA_ZIP} --format=zip velmora.exe LICENSE 说明.txt
  DEPENDS velmora ${_zip_dir}/说明.txt ${_zip_dir}/LICENSE
  COMMENT "Packing ${VELMORA_ZIP}"
  VERBATIM)
add_custom_target(velmora_zip ALL DEPENDS ${VELMORA_ZIP})
