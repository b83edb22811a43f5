# What ships of the browser game: index.html, starshards.js, starshards.wasm and starshards.data
# (the font and pictures, unpacked into the program's working directory before it starts) in the
# build tree, served from there as they are, and STARSHARDS_PACKAGE_DIR/starshards-VERSION-web.zip
# with them, the game's licence and every library's.
set(STARSHARDS_PACKAGE_DIR ${CMAKE_BINARY_DIR} CACHE PATH "Where the zip is written")
set(STARSHARDS_PACKAGE_NAME starshards-${PROJECT_VERSION}-web)
set(web_dist ${CMAKE_SOURCE_DIR}/dist/web)

file(GLOB game_assets ${STARSHARDS_ASSET_DIR}/*)

# Makes a program of the game's sources a page: TARGET.js with its .wasm and .data, the assets
# preloaded into the folder ASSET_FOLDER, and PAGE, the game's page running it, beside them. The
# game waits and sleeps inside its main loop: ASYNCIFY lets those waits give the browser its turn.
# The runtime ends with the program, so that the page can say so; the files the game keeps are in
# IndexedDB through Emscripten's IDBFS.
function(starshards_web_page target page asset_folder)
    target_link_options(${target} PRIVATE -sASYNCIFY -sEXIT_RUNTIME=1 -sALLOW_MEMORY_GROWTH=1
        -lidbfs.js --pre-js ${web_dist}/page.js --preload-file ${STARSHARDS_ASSET_DIR}@${asset_folder})
    set_target_properties(${target} PROPERTIES SUFFIX .js
        LINK_DEPENDS "${web_dist}/page.js;${game_assets}")
    set(PAGE_SCRIPT ${target}.js)
    configure_file(${web_dist}/index.html.in ${CMAKE_CURRENT_BINARY_DIR}/${page} @ONLY)
endfunction()
starshards_web_page(starshards index.html /)

set(stage_root ${CMAKE_BINARY_DIR}/package)
set(stage ${stage_root}/${STARSHARDS_PACKAGE_NAME})
set(program_files ${CMAKE_BINARY_DIR}/index.html ${CMAKE_BINARY_DIR}/starshards.js
    ${CMAKE_BINARY_DIR}/starshards.wasm ${CMAKE_BINARY_DIR}/starshards.data)
set(zip ${STARSHARDS_PACKAGE_DIR}/${STARSHARDS_PACKAGE_NAME}.zip)
add_custom_command(OUTPUT ${zip}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage_root} ${zip}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}/licenses/emulogic ${STARSHARDS_PACKAGE_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy ${program_files} ${stage}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/LICENSE ${stage}/LICENSE.txt
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${STARSHARDS_WEB_PREFIX}/share/licenses ${stage}/licenses
    COMMAND ${CMAKE_COMMAND} -E copy ${STARSHARDS_ASSET_DIR}/emulogic-OFL.txt ${stage}/licenses/emulogic
    COMMAND ${CMAKE_COMMAND} -E chdir ${stage_root}
        ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip ${STARSHARDS_PACKAGE_NAME}
    DEPENDS starshards ${CMAKE_BINARY_DIR}/index.html ${CMAKE_SOURCE_DIR}/LICENSE
    COMMENT "Writing ${zip}")
add_custom_target(web_package ALL DEPENDS ${zip})
