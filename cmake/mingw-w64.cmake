# Cross-build for 64-bit Windows with Debian's MinGW-w64 (posix thread model).
#   cmake -S . -B build-win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QUIMBAR_MINGW_TRIPLE x86_64-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${QUIMBAR_MINGW_TRIPLE}-gcc-posix ${QUIMBAR_MINGW_TRIPLE}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${QUIMBAR_MINGW_TRIPLE}-g++-posix ${QUIMBAR_MINGW_TRIPLE}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${QUIMBAR_MINGW_TRIPLE}-windres REQUIRED)

# Headers and libraries come from the MinGW-w64 sysroot only; programs
# (code generators and the like) from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${QUIMBAR_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# A self-contained .exe: the C and C++ runtimes and winpthread linked in, so
# it runs on a plain Windows without MinGW DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# The resource script is UTF-8 (umlauts in menu and dialog texts).
set(CMAKE_RC_FLAGS_INIT "-c 65001")
