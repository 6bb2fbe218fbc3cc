# What every Windows program of the project carries: its version resource (the file version of
# the project), the manifest (common controls 6, per-monitor DPI awareness) and the GUI
# subsystem. The C and C++ runtimes are linked in by the toolchain files.
function(quolt_windows_program target program description)
  set(QUOLT_PROGRAM ${program})
  set(QUOLT_DESCRIPTION ${description})
  set(QUOLT_MANIFEST ${CMAKE_CURRENT_BINARY_DIR}/${program}.manifest)
  configure_file(${PROJECT_SOURCE_DIR}/platform/win32/quolt.manifest ${QUOLT_MANIFEST} @ONLY)
  configure_file(${PROJECT_SOURCE_DIR}/platform/win32/version.rc.in
                 ${CMAKE_CURRENT_BINARY_DIR}/${program}.rc @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${program}.rc)
  set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE ON OUTPUT_NAME ${program}
                                             RUNTIME_OUTPUT_DIRECTORY ${QUOLT_PROGRAM_DIR})
  install(TARGETS ${target} RUNTIME DESTINATION .)
endfunction()
