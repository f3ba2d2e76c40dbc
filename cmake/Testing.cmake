# Test registration for both builds. Native tests run directly; Windows tests run under Wine, each
# in a fresh prefix of its own: the wine_prefix fixture boots one prefix inside the build folder,
# and scripts/wine-run.sh copies it for each test, so that Windows tests run side by side.
set(PROJECT_SCRIPTS_DIR ${CMAKE_SOURCE_DIR}/scripts)

if(NOT BUILD_FUZZERS)
    if(WIN32)
        set(GTEST_ROOT_DIR /usr/src/googletest CACHE PATH "GoogleTest sources built for mingw-w64")
        if(NOT EXISTS ${GTEST_ROOT_DIR}/CMakeLists.txt)
            project_require(FALSE "GoogleTest sources in ${GTEST_ROOT_DIR}" googletest)
        endif()
        set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
        set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
        add_subdirectory(${GTEST_ROOT_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
    else()
        find_package(GTest QUIET)
        project_require(GTest_FOUND "GoogleTest" "libgtest-dev and libgmock-dev")
        include(GoogleTest)
    endif()
endif()

if(WIN32 AND CMAKE_CROSSCOMPILING)
    set(WINE_TEST_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
    add_test(NAME wine_prefix_setup
             COMMAND ${PROJECT_SCRIPTS_DIR}/wine-prefix.sh create ${WINE_TEST_PREFIX})
    add_test(NAME wine_prefix_cleanup
             COMMAND ${PROJECT_SCRIPTS_DIR}/wine-prefix.sh stop ${WINE_TEST_PREFIX})
    set_tests_properties(wine_prefix_setup PROPERTIES FIXTURES_SETUP wine_prefix TIMEOUT 300)
    set_tests_properties(wine_prefix_cleanup PROPERTIES FIXTURES_CLEANUP wine_prefix)
endif()

# Marks a test as a Windows test: it runs in a copy of the booted prefix of its own (registry,
# data folders, wineserver) and, when the run allots X displays (scripts/test.sh does), on a display
# of its own, so it shares nothing with the tests beside it.
function(project_mark_wine_test name)
    if(WIN32 AND CMAKE_CROSSCOMPILING)
        set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT
            "WINE_PREFIX_TEMPLATE=${WINE_TEST_PREFIX}"
            "WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefixes/${name}"
            "WINEDEBUG=-all" "WINEDLLOVERRIDES=mscoree,mshtml=")
        set_property(TEST ${name} APPEND PROPERTY FIXTURES_REQUIRED wine_prefix)
        set_property(TEST ${name} PROPERTY RESOURCE_GROUPS displays:1)
    endif()
endfunction()

# A GoogleTest program of the project, in either build. LABELS mark its tests: "process" for
# tests that run the built program as a whole (the sanitize tier leaves them out). PROCESSORS is
# how many of the test run's job slots each of its tests takes (1 unless given).
function(project_add_gtest target)
    cmake_parse_arguments(ARG "" "PROCESSORS" "SOURCES;LIBS;LABELS" ${ARGN})
    if(NOT ARG_PROCESSORS)
        set(ARG_PROCESSORS 1)
    endif()
    add_executable(${target} ${ARG_SOURCES})
    target_link_libraries(${target} PRIVATE ${ARG_LIBS} GTest::gtest_main GTest::gmock project_options)
    if(WIN32)
        # One CTest entry per program: listing the tests would need Wine at build time.
        add_test(NAME ${target} COMMAND ${target} --gtest_color=no)
        project_mark_wine_test(${target})
        set_tests_properties(${target} PROPERTIES PROCESSORS ${ARG_PROCESSORS})
        if(ARG_LABELS)
            set_tests_properties(${target} PROPERTIES LABELS "${ARG_LABELS}")
        endif()
    elseif(ARG_LABELS)
        gtest_discover_tests(${target} DISCOVERY_TIMEOUT 30 NO_PRETTY_VALUES
            PROPERTIES LABELS "${ARG_LABELS}" PROCESSORS ${ARG_PROCESSORS})
    else()
        # Parameterised cases are named by their name generators, not by their values' bytes.
        gtest_discover_tests(${target} DISCOVERY_TIMEOUT 30 NO_PRETTY_VALUES
            PROPERTIES PROCESSORS ${ARG_PROCESSORS})
    endif()
endfunction()
