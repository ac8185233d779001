# The shipped programs must run from a bare folder: link the C++ runtime,
# libgcc and winpthread statically.
add_link_options(-static -static-libgcc -static-libstdc++)
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)

# Where the two programs land, side by side, as a user installs them.
set(VENTALUNE_BIN_DIR ${CMAKE_BINARY_DIR}/bin)
# Windows-side tests live apart from the product folder and find the
# programs through ..\bin relative to themselves.
set(VENTALUNE_TEST_BIN_DIR ${CMAKE_BINARY_DIR}/tests-bin)

# ventalune_gui_program(target OUTPUT name.ext DESCRIPTION text RC file.rc
#                       SOURCES ...) makes a GUI executable (WinMain,
# subsystem windows) under any file name, with its resource script and a
# version resource generated as <target>_version.rc beside it.
function(ventalune_gui_program target)
  cmake_parse_arguments(ARG "" "OUTPUT;DESCRIPTION;RC;VERSION_RC" "SOURCES" ${ARGN})
  set(VENTALUNE_FILE_NAME ${ARG_OUTPUT})
  set(VENTALUNE_FILE_DESCRIPTION ${ARG_DESCRIPTION})
  configure_file(${PROJECT_SOURCE_DIR}/assets/version.rc.in ${CMAKE_CURRENT_BINARY_DIR}/${ARG_VERSION_RC} @ONLY)
  add_executable(${target} WIN32 ${ARG_SOURCES} ${ARG_RC})
  # The resource compiler finds the generated version script and the artwork.
  set_property(SOURCE ${ARG_RC} APPEND PROPERTY INCLUDE_DIRECTORIES
    ${CMAKE_CURRENT_BINARY_DIR} ${PROJECT_SOURCE_DIR}/assets ${PROJECT_BINARY_DIR}/assets)
  string(REGEX MATCH "^[^.]+" base ${ARG_OUTPUT})
  string(REGEX MATCH "\\.[^.]+$" ext ${ARG_OUTPUT})
  set_target_properties(${target} PROPERTIES
    OUTPUT_NAME ${base} SUFFIX ${ext}
    RUNTIME_OUTPUT_DIRECTORY ${VENTALUNE_BIN_DIR})
  target_link_libraries(${target} PRIVATE ventalune_warnings)
endfunction()
