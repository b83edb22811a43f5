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

# The player's README has Windows' line ends, as Notepad of older Windows needs them.
configure_file(${windows_dist}/README.txt.in ${CMAKE_BINARY_DIR}/README.txt @ONLY NEWLINE_STYLE WIN32)

# The folder both ship: the program without its debugging symbols, SDL.dll, font, pictures, the README and every licence.
set(stage ${CMAKE_BINARY_DIR}/package)
file(GLOB game_assets ${STARSHARDS_ASSET_DIR}/*.ttf ${STARSHARDS_ASSET_DIR}/*.png ${STARSHARDS_ASSET_DIR}/*.jpg
    ${STARSHARDS_ASSET_DIR}/emulogic-OFL.txt)
set(licences ${STARSHARDS_WINDOWS_PREFIX}/share/licenses)
add_custom_command(OUTPUT ${stage}.stamp
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}/licenses/zlib
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:starshards> ${STARSHARDS_SDL_DLL}
        ${CMAKE_BINARY_DIR}/README.txt ${game_assets} ${stage}
    COMMAND ${CMAKE_STRIP} ${stage}/starshards.exe
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${licences} ${stage}/licenses
    COMMAND ${CMAKE_COMMAND} -E copy /usr/share/doc/libz-mingw-w64-dev/copyright ${stage}/licenses/zlib
    COMMAND ${CMAKE_COMMAND} -E touch ${stage}.stamp
    DEPENDS starshards ${STARSHARDS_SDL_DLL} ${CMAKE_BINARY_DIR}/README.txt ${game_assets}
    COMMENT "Staging the Windows game's files in ${stage}")

set(zip ${STARSHARDS_PACKAGE_DIR}/${STARSHARDS_PACKAGE_NAME}.zip)
set(setup ${STARSHARDS_PACKAGE_DIR}/${STARSHARDS_PACKAGE_NAME}-setup.exe)
list(TRANSFORM game_assets REPLACE ".*/" "" OUTPUT_VARIABLE zipped)
add_custom_command(OUTPUT ${zip}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${STARSHARDS_PACKAGE_DIR}
    COMMAND ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip
        starshards.exe SDL.dll README.txt licenses ${zipped}
    WORKING_DIRECTORY ${stage} DEPENDS ${stage}.stamp COMMENT "Writing ${zip}")
add_custom_command(OUTPUT ${setup}
    COMMAND ${STARSHARDS_MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} -DSTAGE=${stage} -DICON=${STARSHARDS_ICO}
        -DOUTFILE=${setup} ${windows_dist}/starshards.nsi
    DEPENDS ${stage}.stamp ${STARSHARDS_ICO} ${windows_dist}/starshards.nsi COMMENT "Writing ${setup}")
add_custom_target(windows_packages ALL DEPENDS ${zip} ${setup})
