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

# archivora_tests(<target> DEPS <targets...> [ALLOCATION_FAILURE_TESTS <filter>])
# Builds every .cpp of the calling folder into one GoogleTest executable and
# registers each test case with CTest, so `ctest -j` runs them in parallel. Each
# case is labelled with <target>, so `ctest -L` picks whole test programs.
# ALLOCATION_FAILURE_TESTS (a GoogleTest filter) names the cases that ask for an
# impossible size on purpose: under AddressSanitizer their allocator returns null,
# as malloc does, instead of stopping the program; every other case keeps that check.
function(archivora_tests target)
    cmake_parse_arguments(ARG "" "ALLOCATION_FAILURE_TESTS" "DEPS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    add_executable(${target} ${sources})
    target_link_libraries(${target} PRIVATE ${ARG_DEPS} archivora_test_support GTest::gtest GTest::gmock)
    if(ARG_ALLOCATION_FAILURE_TESTS)
        gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60 TEST_FILTER "-${ARG_ALLOCATION_FAILURE_TESTS}"
            PROPERTIES LABELS ${target})
        gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60 TEST_FILTER "${ARG_ALLOCATION_FAILURE_TESTS}"
            PROPERTIES LABELS ${target} ENVIRONMENT "ASAN_OPTIONS=allocator_may_return_null=1")
    else()
        gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS ${target})
    endif()
endfunction()
