# Cross-builds the Windows x86-64 game with Debian's MinGW-w64, posix thread model (std::thread,
# which GoogleTest needs). STARSHARDS_WINDOWS_PREFIX names the libraries scripts/build-windows-deps
# built; Debian's MinGW zlib lives in the compiler's own root.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(STARSHARDS_MINGW x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${STARSHARDS_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${STARSHARDS_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${STARSHARDS_MINGW}-windres)

# The variable travels into try_compile projects too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES STARSHARDS_WINDOWS_PREFIX)
set(CMAKE_FIND_ROOT_PATH /usr/${STARSHARDS_MINGW} ${STARSHARDS_WINDOWS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Programs built here run under Wine (ctest, and the libraries' own build-time checks).
find_program(STARSHARDS_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(STARSHARDS_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${STARSHARDS_WINE})
endif()
