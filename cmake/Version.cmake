# The newest entry of debian/changelog is the one place the version and its release date are
# written: this sets STARSHARDS_VERSION and STARSHARDS_RELEASE_DATE (YYYY-MM-DD) from it for the
# build, which gives them to the program, the package, the man page and the AppStream data. Run as
# `cmake -P cmake/Version.cmake`, it prints the version, for the Makefile.
set(changelog ${CMAKE_CURRENT_LIST_DIR}/../debian/changelog)
file(STRINGS ${changelog} STARSHARDS_RELEASE_HEAD LIMIT_COUNT 1 REGEX "^starshards \\(")
file(STRINGS ${changelog} STARSHARDS_RELEASE_TRAILER LIMIT_COUNT 1 REGEX "^ -- ")
string(REGEX MATCH "^starshards \\(([0-9.]+)\\)" STARSHARDS_VERSION "${STARSHARDS_RELEASE_HEAD}")
set(STARSHARDS_VERSION "${CMAKE_MATCH_1}")
string(REGEX MATCH " ([0-9]+) ([A-Z][a-z][a-z]) ([0-9]+) [0-9:]+ [-+][0-9]+$" STARSHARDS_RELEASE_DATE
    "${STARSHARDS_RELEASE_TRAILER}")
string(FIND "JanFebMarAprMayJunJulAugSepOctNovDec" "${CMAKE_MATCH_2}" month)
math(EXPR month "${month} / 3 + 101")
math(EXPR day "${CMAKE_MATCH_1} + 100")
string(SUBSTRING "${month}" 1 2 month)
string(SUBSTRING "${day}" 1 2 day)
set(STARSHARDS_RELEASE_DATE "${CMAKE_MATCH_3}-${month}-${day}")
if(NOT STARSHARDS_VERSION OR NOT STARSHARDS_RELEASE_DATE MATCHES "^[0-9]+-[0-9][0-9]-[0-9][0-9]$")
    message(FATAL_ERROR "debian/changelog: no version or date in its newest entry")
endif()

if(CMAKE_SCRIPT_MODE_FILE)
    execute_process(COMMAND ${CMAKE_COMMAND} -E echo ${STARSHARDS_VERSION})
else()
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${changelog})
endif()
