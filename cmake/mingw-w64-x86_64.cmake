# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (the posix threads variant, which
# std::thread and friends need). Executables are linked statically, so they run under Wine or on
# Windows without hunting for the compiler's DLLs; ctest runs them through Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(PALQUIN_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${PALQUIN_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${PALQUIN_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${PALQUIN_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${PALQUIN_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

find_program(PALQUIN_WINE NAMES wine wine64)
if(PALQUIN_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${PALQUIN_WINE})
endif()
