# Cross-build for Windows x86-64 with mingw-w64 (posix thread model, which
# GoogleTest's std::mutex needs). Programs and DLLs link the GCC runtime
# statically so that they depend only on the system's own DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")

# ctest runs the Windows programs through Wine. Starting a program there
# takes seconds, so each test program runs whole as one ctest entry rather
# than once a test.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
set(VESTA_TEST_EACH OFF CACHE BOOL "one ctest entry a test program under Wine")
