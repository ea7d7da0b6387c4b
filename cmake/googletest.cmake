# GoogleTest from Debian's source package, built inside each tree so the 32-bit tests link a
# 32-bit GoogleTest and the Windows tests a mingw-w64 one.
set(QEV_GTEST_SOURCE "/usr/src/googletest" CACHE PATH "GoogleTest sources")
if(NOT EXISTS "${QEV_GTEST_SOURCE}/CMakeLists.txt")
    message(FATAL_ERROR "GoogleTest sources missing at ${QEV_GTEST_SOURCE}: run scripts/bootstrap")
endif()
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory("${QEV_GTEST_SOURCE}" "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL SYSTEM)
include(GoogleTest)
if(WIN32)
    target_compile_options(gtest PRIVATE
        -include "${CMAKE_SOURCE_DIR}/tests/windows/gtest_quiet_debug_output.h")
endif()

# qev_add_test(NAME SOURCES... [LIBS ...]): a GoogleTest program registered with ctest. Tests are
# discovered when ctest runs, through the tree's emulator where it has one (qemu-i386 for the
# 32-bit Linux tree where needed, wine for the Windows trees).
function(qev_add_test name)
    cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
    add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
    target_link_libraries(${name} PRIVATE GTest::gtest GTest::gtest_main ${ARG_LIBS})
    # The tests' own code at -O1 with line tables only: it is most of what the four trees
    # compile, and this takes a third off its compile time. What they test (the engine, the
    # modules, the host) keeps its own flags; SSE2 arithmetic gives the same bits at any level.
    target_compile_options(${name} PRIVATE -O1 -g1)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                         PROPERTIES TIMEOUT 600)
endfunction()
