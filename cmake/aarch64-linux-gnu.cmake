# Cross-build of the rendering core, quimbar-render and the core tests for
# 64-bit ARM Linux with Debian's g++-aarch64-linux-gnu. Programs built for
# ARM run under qemu-user (Debian qemu-user): the tests' discovery, ctest.
#   cmake -S . -B build-aarch64 -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake -DQUIMBAR_BENCH=OFF
#   cmake --build build-aarch64 --target quimbar-render render_tests fast_pass_tests view_state_tests
#   ctest --test-dir build-aarch64
# The window backend (FLTK) is not looked for on the target: the viewer
# itself is not built.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

set(QUIMBAR_ARM_TRIPLE aarch64-linux-gnu)
find_program(CMAKE_C_COMPILER NAMES ${QUIMBAR_ARM_TRIPLE}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${QUIMBAR_ARM_TRIPLE}-g++ REQUIRED)

# Headers and libraries for ARM from the cross toolchain's tree only;
# programs from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${QUIMBAR_ARM_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

find_program(QUIMBAR_QEMU_AARCH64 qemu-aarch64)
if(QUIMBAR_QEMU_AARCH64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QUIMBAR_QEMU_AARCH64} -L /usr/${QUIMBAR_ARM_TRIPLE})
endif()
