# One library target per source folder, one test executable per test folder.
#
# Sources are globbed so that adding a file needs no edit here; CONFIGURE_DEPENDS
# makes the build notice new files.

# archivora_library(<target> [DEPS <targets...>] [SYSTEM_LIBS <libs...>])
# Builds every .cpp of the calling folder into a static library.
function(archivora_library target)
    cmake_parse_arguments(ARG "" "" "DEPS;SYSTEM_LIBS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    add_library(${target} STATIC ${sources})
    target_link_libraries(${target} PUBLIC ${ARG_DEPS} ${ARG_SYSTEM_LIBS})
endfunction()

# archivora_tests(<target> DEPS <targets...>)
# Builds every .cpp of the calling folder into one GoogleTest executable and
# registers each test case with CTest, so `ctest -j` runs them in parallel.
function(archivora_tests target)
    cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    add_executable(${target} ${sources})
    target_link_libraries(${target} PRIVATE ${ARG_DEPS} archivora_test_support GTest::gtest GTest::gmock)
    gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60)
endfunction()
