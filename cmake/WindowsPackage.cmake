# The zip for Windows desks: both programs, the stand-in Mp2032.dll and LEIA-ME.txt (where the
# files go and how the host starts them), unpacked straight into the host's folder.
configure_file(${PROJECT_SOURCE_DIR}/packaging/LEIA-ME.txt.in
               ${PROJECT_BINARY_DIR}/LEIA-ME.txt @ONLY NEWLINE_STYLE CRLF)
install(FILES ${PROJECT_BINARY_DIR}/LEIA-ME.txt DESTINATION .)

if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(architecture x86)
else()
  set(architecture x64)
endif()
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME quolt_autenticador)
set(CPACK_PACKAGE_VENDOR Quolt)
set(CPACK_PACKAGE_FILE_NAME quolt_autenticador-${PROJECT_VERSION}-windows-${architecture})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
include(CPack)
