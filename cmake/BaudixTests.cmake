# baudix_add_tests(<dir> LIBS <libs...>): one GoogleTest executable per
# tests/<dir>/*_test.cpp, each registered with CTest as a whole (one process
# per file keeps Wine start-ups few). Windows executables run through Wine.
# SOURCES adds files to every executable (the window tests need the
# program's resources).
function(baudix_add_tests dir)
  cmake_parse_arguments(arg "" "TIMEOUT" "LIBS;SOURCES" ${ARGN})
  if(NOT arg_TIMEOUT)
    set(arg_TIMEOUT 300)
  endif()
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*_test.cpp)
  file(GLOB support CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/support/*.cpp)
  foreach(source ${sources})
    get_filename_component(name ${source} NAME_WE)
    set(target ${dir}_${name})
    add_executable(${target} ${source} ${support} ${arg_SOURCES})
    target_link_libraries(${target} PRIVATE ${arg_LIBS} GTest::gtest_main)
    target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}
                               ${CMAKE_SOURCE_DIR}/res)
    add_test(NAME ${target} COMMAND ${target} --gtest_brief=1)
    set_tests_properties(${target} PROPERTIES TIMEOUT ${arg_TIMEOUT} LABELS ${dir})
  endforeach()
endfunction()
