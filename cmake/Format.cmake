# Every C++ source of the project follows .clang-format: those of src/, bench/ and tests/ at any
# depth. `cmake -P cmake/Format.cmake` formats them in place (`make format`); with -DCHECK=ON it
# changes nothing and fails when one does not follow (the test clang_format_clean).
get_filename_component(root ${CMAKE_CURRENT_LIST_DIR}/.. ABSOLUTE)
file(GLOB_RECURSE sources ${root}/src/*.cpp ${root}/src/*.h ${root}/bench/*.cpp ${root}/bench/*.h
    ${root}/tests/*.cpp ${root}/tests/*.h)
if(CHECK)
    set(mode --dry-run -Werror)
else()
    set(mode -i)
endif()
execute_process(COMMAND clang-format ${mode} ${sources} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "clang-format: not every source follows .clang-format")
endif()
