# What ships of the Windows game: the program with its icon and version as resources, then
# STARSHARDS_PACKAGE_DIR/starshards-VERSION-win64.zip and the installer
# starshards-VERSION-win64-setup.exe, both from one staged folder.
set(STARSHARDS_PACKAGE_DIR ${CMAKE_BINARY_DIR} CACHE PATH "Where the zip and the installer are written")
set(STARSHARDS_PACKAGE_NAME starshards-${PROJECT_VERSION}-win64)
set(windows_dist ${CMAKE_SOURCE_DIR}/dist/windows)

enable_language(RC)
find_program(STARSHARDS_CONVERT convert REQUIRED)
find_program(STARSHARDS_MAKENSIS makensis REQUIRED)

set(STARSHARDS_ICO ${CMAKE_BINARY_DIR}/starshards.ico)
set(icon_sizes 16 32 48 64 128 256)
list(TRANSFORM icon_sizes REPLACE "(.+)" "${CMAKE_SOURCE_DIR}/dist/icons/starshards-\\1.png" OUTPUT_VARIABLE icons)
add_custom_command(OUTPUT ${STARSHARDS_ICO} COMMAND ${STARSHARDS_CONVERT} ${icons} ${STARSHARDS_ICO}
    DEPENDS ${icons} COMMENT "Icon of the Windows game")
configure_file(${windows_dist}/starshards.rc.in ${CMAKE_BINARY_DIR}/starshards.rc @ONLY)
target_sources(starshards PRIVATE ${CMAKE_BINARY_DIR}/starshards.rc)
set_source_files_properties(${CMAKE_BINARY_DIR}/starshards.rc PROPERTIES OBJECT_DEPENDS ${STARSHARDS_ICO})

# The README names the commit SDL.dll is built from, as the script that builds it has it.
file(STRINGS ${CMAKE_SOURCE_DIR}/scripts/build-windows-deps sdl_source REGEX "libsdl-org/SDL-1.2 [0-9a-f]+")
string(REGEX MATCH "SDL-1.2 ([0-9a-f]+)" sdl_source "${sdl_source}")
set(STARSHARDS_SDL_COMMIT ${CMAKE_MATCH_1})
if(NOT STARSHARDS_SDL_COMMIT)
    message(FATAL_ERROR "scripts/build-windows-deps: no commit of SDL 1.2")
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/scripts/build-windows-deps)
# The player's README has Windows' line ends, as Notepad of older Windows needs them.
configure_file(${windows_dist}/README.txt.in ${CMAKE_BINARY_DIR}/README.txt @ONLY NEWLINE_STYLE WIN32)

# The folder both ship, the zip's one top-level entry (unpacked with "Extract here", it stays one
# folder): the program without its debugging symbols, SDL.dll, font, pictures, the README, the
# game's licence and every library's.
set(stage_root ${CMAKE_BINARY_DIR}/package)
set(folder Starshards-${PROJECT_VERSION})
set(stage ${stage_root}/${folder})
file(GLOB game_assets ${STARSHARDS_ASSET_DIR}/*.ttf ${STARSHARDS_ASSET_DIR}/*.png ${STARSHARDS_ASSET_DIR}/*.jpg
    ${STARSHARDS_ASSET_DIR}/emulogic-OFL.txt)
set(licences ${STARSHARDS_WINDOWS_PREFIX}/share/licenses)
set(uninstall_list ${CMAKE_BINARY_DIR}/uninstall-files.nsh)
add_custom_command(OUTPUT ${stage_root}.stamp ${uninstall_list}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage_root}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}/licenses/zlib
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:starshards> ${STARSHARDS_SDL_DLL}
        ${CMAKE_BINARY_DIR}/README.txt ${game_assets} ${stage}
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/LICENSE ${stage}/LICENSE.txt
    COMMAND ${CMAKE_STRIP} ${stage}/starshards.exe
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${licences} ${stage}/licenses
    COMMAND ${CMAKE_COMMAND} -E copy /usr/share/doc/libz-mingw-w64-dev/copyright ${stage}/licenses/zlib
    COMMAND ${CMAKE_COMMAND} -DSTAGE=${stage} -DOUTPUT=${uninstall_list}
        -P ${windows_dist}/InstalledFiles.cmake
    COMMAND ${CMAKE_COMMAND} -E touch ${stage_root}.stamp
    DEPENDS starshards ${STARSHARDS_SDL_DLL} ${CMAKE_BINARY_DIR}/README.txt ${game_assets}
        ${CMAKE_SOURCE_DIR}/LICENSE ${windows_dist}/InstalledFiles.cmake
    COMMENT "Staging the Windows game's files in ${stage}")

set(zip ${STARSHARDS_PACKAGE_DIR}/${STARSHARDS_PACKAGE_NAME}.zip)
set(setup ${STARSHARDS_PACKAGE_DIR}/${STARSHARDS_PACKAGE_NAME}-setup.exe)
add_custom_command(OUTPUT ${zip}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${STARSHARDS_PACKAGE_DIR}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${zip}
    COMMAND ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip ${folder}
    WORKING_DIRECTORY ${stage_root} DEPENDS ${stage_root}.stamp COMMENT "Writing ${zip}")
add_custom_command(OUTPUT ${setup}
    COMMAND ${STARSHARDS_MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} -DSTAGE=${stage} -DICON=${STARSHARDS_ICO}
        -DUNINSTALL_LIST=${uninstall_list} -DOUTFILE=${setup} ${windows_dist}/starshards.nsi
    DEPENDS ${stage_root}.stamp ${uninstall_list} ${STARSHARDS_ICO} ${windows_dist}/starshards.nsi
    COMMENT "Writing ${setup}")
add_custom_target(windows_packages ALL DEPENDS ${zip} ${setup})
