# Cross build for x86_64 Windows with mingw-w64 (the -win32 thread model: no winpthread DLL).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QUOLT_MINGW_TRIPLE x86_64-w64-mingw32)

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
