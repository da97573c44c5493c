# GoogleTest: Debian's packages for the host build; for Windows, Debian's
# googletest sources compiled with the cross compiler. Nothing is downloaded.

include(GoogleTest)

if(CMAKE_CROSSCOMPILING)
    set(PLOVIX_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
    if(NOT EXISTS ${PLOVIX_GOOGLETEST_SOURCE}/CMakeLists.txt)
        message(FATAL_ERROR "GoogleTest sources not found in ${PLOVIX_GOOGLETEST_SOURCE}; "
                            "install Debian's googletest package.")
    endif()
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    add_subdirectory(${PLOVIX_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL
                     SYSTEM)
    # The sources define the GTest:: aliases that find_package gives the host.
else()
    find_package(GTest REQUIRED CONFIG)
endif()

# One test program, its tests found when ctest runs it (under Wine for the
# Windows builds, where the program cannot run at build time).
function(plovix_add_test name)
    cmake_parse_arguments(PARSE_ARGV 1 ARG "" "" "SOURCES;LIBRARIES")
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} GTest::gtest GTest::gmock
                                          GTest::gtest_main plovix_options)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                         PROPERTIES TIMEOUT 120)
endfunction()
