# The libraries of the Windows game, from the prefix scripts/build-windows-deps filled: all linked
# in but SDL, which stays SDL.dll beside the program (LGPL: a player can put in another).
if(NOT STARSHARDS_WINDOWS_PREFIX OR NOT EXISTS ${STARSHARDS_WINDOWS_PREFIX}/.complete)
    message(FATAL_ERROR "STARSHARDS_WINDOWS_PREFIX: no libraries built by scripts/build-windows-deps")
endif()
set(prefix ${STARSHARDS_WINDOWS_PREFIX})
set(STARSHARDS_SDL_DLL ${prefix}/bin/SDL.dll)

add_library(StarshardsWindowsLibraries INTERFACE)
target_include_directories(StarshardsWindowsLibraries INTERFACE ${prefix}/include/SDL ${prefix}/include)
# In link order, each before the libraries it uses. libmingw32 before SDLmain: its console main
# calls SDLmain's WinMain, which starts SDL and calls the game's main (SDL_main).
target_link_libraries(StarshardsWindowsLibraries INTERFACE
    ${prefix}/lib/libSDL_ttf.a
    ${prefix}/lib/libfreetype.a
    ${prefix}/lib/libSDL_image.a
    ${prefix}/lib/libpng16.a
    ${prefix}/lib/libjpeg.a
    /usr/x86_64-w64-mingw32/lib/libz.a
    mingw32
    ${prefix}/lib/libSDLmain.a
    ${prefix}/lib/libSDL.dll.a
)

# A console program, so that its lines reach the console it was started from. -static links in
# the compiler's own libraries and the posix threads (SDL's import library is named by its path),
# so that the program needs no DLL but Windows' own and SDL.dll.
add_library(StarshardsWindowsProgram INTERFACE)
target_link_options(StarshardsWindowsProgram INTERFACE -mconsole -static)
