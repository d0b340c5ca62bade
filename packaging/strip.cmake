# Run by CPack on the staged files before it packs them; strips programs and libraries the way
# Debian's dh_strip does.
file(GLOB_RECURSE staged LIST_DIRECTORIES false "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*")
foreach(file IN LISTS staged)
  if(file MATCHES "/bin/[^/]+$")
    set(options)
  elseif(file MATCHES "\\.so$")
    set(options --strip-unneeded)
  else()
    continue()
  endif()
  execute_process(
    COMMAND ${CPACK_VELMORA_STRIP} --remove-section=.comment --remove-section=.note ${options}
            ${file}
    COMMAND_ERROR_IS_FATAL ANY)
endforeach()
