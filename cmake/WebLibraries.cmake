# The libraries of the browser game, from the prefix scripts/build-web-deps filled, all linked in.
# Each is named by its path: -lSDL would pick Emscripten's own JavaScript SDL instead.
if(NOT STARSHARDS_WEB_PREFIX OR NOT EXISTS ${STARSHARDS_WEB_PREFIX}/.complete)
    message(FATAL_ERROR "STARSHARDS_WEB_PREFIX: no libraries built by scripts/build-web-deps")
endif()
set(prefix ${STARSHARDS_WEB_PREFIX})

add_library(StarshardsWebLibraries INTERFACE)
target_include_directories(StarshardsWebLibraries INTERFACE ${prefix}/include/SDL ${prefix}/include)
# In link order, each before the libraries it uses.
target_link_libraries(StarshardsWebLibraries INTERFACE
    ${prefix}/lib/libSDL_ttf.a
    ${prefix}/lib/libfreetype.a
    ${prefix}/lib/libSDL_image.a
    ${prefix}/lib/libpng16.a
    ${prefix}/lib/libjpeg.a
    ${prefix}/lib/libz.a
    ${prefix}/lib/libSDL.a
)
