# Cross-compiles the Windows program on Linux with mingw-w64 (Debian: g++-mingw-w64-x86-64).
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(NIVRANO_MINGW_PREFIX x86_64-w64-mingw32)
# Debian ships a -posix and a -win32 threads flavour; the program has one thread, either does.
find_program(CMAKE_C_COMPILER NAMES ${NIVRANO_MINGW_PREFIX}-gcc-posix ${NIVRANO_MINGW_PREFIX}-gcc)
find_program(CMAKE_CXX_COMPILER NAMES ${NIVRANO_MINGW_PREFIX}-g++-posix ${NIVRANO_MINGW_PREFIX}-g++)
find_program(CMAKE_RC_COMPILER NAMES ${NIVRANO_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${NIVRANO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
