# Toolchain of the windows preset: Debian's MinGW-w64, the static Qt for Windows that
# scripts/velmora-setup builds once per machine, and Wine to run what is built, tests included.
if(NOT VELMORA_WINDOWS_QT)
  if(DEFINED ENV{VELMORA_WINDOWS_QT})
    set(VELMORA_WINDOWS_QT "$ENV{VELMORA_WINDOWS_QT}")
  elseif(DEFINED ENV{XDG_CACHE_HOME})
    set(VELMORA_WINDOWS_QT "$ENV{XDG_CACHE_HOME}/velmora/qt-windows")
  else()
    set(VELMORA_WINDOWS_QT "$ENV{HOME}/.cache/velmora/qt-windows")
  endif()
endif()
get_filename_component(VELMORA_WINDOWS_QT "${VELMORA_WINDOWS_QT}" REALPATH)
if(NOT EXISTS "${VELMORA_WINDOWS_QT}/lib/cmake/Qt6/qt.toolchain.cmake")
  message(FATAL_ERROR
    "No Qt for Windows in ${VELMORA_WINDOWS_QT}: 'scripts/velmora-setup windows' builds it.")
endif()
# Qt's toolchain file loads the MinGW-w64 one that Qt was built with.
include("${VELMORA_WINDOWS_QT}/lib/cmake/Qt6/qt.toolchain.cmake")

set(CMAKE_CROSSCOMPILING_EMULATOR "${CMAKE_CURRENT_LIST_DIR}/wine-run")
