# Cross build for Windows with mingw-w64 (the -win32 thread model: no winpthread DLL). The
# toolchain file of each processor sets QUOLT_MINGW_TRIPLE and CMAKE_SYSTEM_PROCESSOR first.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${QUOLT_MINGW_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${QUOLT_MINGW_TRIPLE}-g++)
set(CMAKE_RC_COMPILER ${QUOLT_MINGW_TRIPLE}-windres)
set(CMAKE_DLLTOOL ${QUOLT_MINGW_TRIPLE}-dlltool)

set(CMAKE_FIND_ROOT_PATH /usr/${QUOLT_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every program runs on a bare desk: the C and C++ runtimes are linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
