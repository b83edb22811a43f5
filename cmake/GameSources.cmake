# The game's sources but its entry (src/main.cpp), for this system, and the language and warnings
# they are built with: the one list of both the main build and the fuzz build (tests/fuzz), which
# include this file. A new file of src/ is added here.
set(STARSHARDS_GAME_SOURCES
    Asteroid.cpp
    BaseEngine.cpp
    Bullet.cpp
    DisplayableObject.cpp
    DisplayModes.cpp
    FileReport.cpp
    FontCache.cpp
    HighScoreTable.cpp
    LoopClock.cpp
    MyProjectMain.cpp
    PixelImage.cpp
    PushSink.cpp
    SavedGame.cpp
    ScreenDamage.cpp
    TextSurfaceCache.cpp
    Ship.cpp
    SurfaceImage.cpp
)
if(WIN32)
    list(APPEND STARSHARDS_GAME_SOURCES PlatformWindows.cpp PlatformCommon.cpp)
elseif(EMSCRIPTEN)
    list(APPEND STARSHARDS_GAME_SOURCES PlatformWeb.cpp) # a page has no window to move
else()
    list(APPEND STARSHARDS_GAME_SOURCES PlatformPosix.cpp PlatformCommon.cpp)
endif()
list(TRANSFORM STARSHARDS_GAME_SOURCES PREPEND ${CMAKE_CURRENT_LIST_DIR}/../src/)

set(CMAKE_CXX_STANDARD 17)
set(CMAKE_CXX_STANDARD_REQUIRED ON)
set(CMAKE_CXX_EXTENSIONS OFF)
option(STARSHARDS_WERROR "Treat compiler warnings as errors" ON)
add_compile_options(-Wall -Wextra)
if(STARSHARDS_WERROR)
    add_compile_options(-Werror)
endif()
