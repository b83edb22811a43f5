# The unit tests of the browser game: built by emcc, with Debian's GoogleTest sources, against the
# same libraries as the game, each run under node (emcmake's emulator), the web body's page being
# tests/web/node-page.js. Their files live in Emscripten's memory file system, as the game's do in
# the browser before the page stores them: the assets are embedded at their checkout path, and
# nothing a test writes reaches the disk.
# Linked at -O0: binaryen's optimisation of the programs the waits' ASYNCIFY makes would take
# longer than it saves (at -O3 a link takes five times as long).
set(BUILD_GMOCK OFF)
set(INSTALL_GTEST OFF)
set(gtest_disable_pthreads ON) # the browser game has no threads
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
add_library(GTest::gtest_main ALIAS gtest_main)
add_library(StarshardsWebTestProgram INTERFACE)
target_link_options(StarshardsWebTestProgram INTERFACE -O0 -sASYNCIFY -sEXIT_RUNTIME=1
    -sALLOW_MEMORY_GROWTH=1 -sENVIRONMENT=node --pre-js ${PROJECT_SOURCE_DIR}/tests/web/node-page.js
    --embed-file ${STARSHARDS_ASSET_DIR}@${STARSHARDS_ASSET_DIR})
file(GLOB test_assets ${STARSHARDS_ASSET_DIR}/*)
set_target_properties(StarshardsWebTestProgram PROPERTIES
    INTERFACE_LINK_DEPENDS "${PROJECT_SOURCE_DIR}/tests/web/node-page.js;${test_assets}")
# emcmake's emulator is node with a flag (--experimental-wasm-threads) that today's node refuses.
list(GET CMAKE_CROSSCOMPILING_EMULATOR 0 node)
set(CMAKE_CROSSCOMPILING_EMULATOR ${node})
# The test programs alone, without the game and its zip.
add_custom_target(web_unit_tests)

# The cases of what the browser game does not have, left out by gtest's filter.
set(UNIT_TESTS_LEFT_OUT
    # sdl12-compat's scaling: the browser's SDL is the classic library, and the page scales
    ImageTest.Sdl12Compat*
    # hard links, permission bits, file size limits, FIFOs, other users and their processes: the
    # browser's files have none of them
    SaveGameTest.WritesKeepLinks* SaveGameTest.AsAPlayer*
    # the lock between copies of the game, taken here by two threads of one program: the browser
    # game has no threads (the browser test shows the lock between two tabs)
    HighScoresTest.ARecordingWaits*)
list(JOIN UNIT_TESTS_LEFT_OUT : UNIT_TEST_FILTER)
set(UNIT_TEST_FILTER -${UNIT_TEST_FILTER})
