# Project-wide settings applied per target, so nothing leaks into imported code.

function(velmora_target_settings target)
  target_compile_features(${target} PUBLIC cxx_std_20)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
  target_compile_definitions(${target} PRIVATE
    QT_NO_CAST_FROM_ASCII
    QT_NO_CAST_TO_ASCII
    QT_NO_CAST_FROM_BYTEARRAY
    QT_NO_URL_CAST_FROM_STRING
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_NO_FOREACH
    QT_NO_KEYWORDS)
  if(MINGW)
    # One self-contained program: the C and C++ runtimes and winpthreads linked in, so that it
    # imports only Windows' own libraries.
    target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
  endif()
endfunction()

# A program on a static Qt carries its plugins: the platforms that show its window (Windows'
# own, and offscreen for the tests) and the native widget style.
function(velmora_import_windows_plugins target)
  if(NOT QT6_IS_SHARED_LIBS_BUILD)
    qt_import_plugins(${target} INCLUDE_BY_TYPE platforms
      Qt6::QWindowsIntegrationPlugin Qt6::QOffscreenIntegrationPlugin)
    if(TARGET Qt6::QWindowsVistaStylePlugin)
      qt_import_plugins(${target} INCLUDE_BY_TYPE styles Qt6::QWindowsVistaStylePlugin)
    endif()
  endif()
endfunction()

# A static library of one subsystem; its headers are included as "folder/header.h".
function(velmora_add_library target)
  add_library(${target} STATIC ${ARGN})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  velmora_target_settings(${target})
endfunction()

# A QtTest executable registered with CTest; runs on the offscreen platform. A test that starts the
# web engine turns its sandbox off itself, and only when it runs as root.
function(velmora_add_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test ${T_LIBRARIES})
  velmora_target_settings(${name})
  add_test(NAME ${name} COMMAND ${name})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  set_tests_properties(${name} PROPERTIES
    TIMEOUT ${T_TIMEOUT}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  if(WIN32)
    velmora_import_windows_plugins(${name})
    # Run by Wine (the toolchain's emulator), in a prefix thrown away with the build.
    set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT WINEPREFIX=${PROJECT_BINARY_DIR}/wine)
  endif()
endfunction()
