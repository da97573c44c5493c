# GoogleTest: Debian's packages for the host build; for Windows, Debian's
# googletest sources compiled with the cross compiler. Nothing is downloaded.

include(GoogleTest)

if(CMAKE_CROSSCOMPILING AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
    message(WARNING "Wine was not found: the Windows test programs build, but ctest cannot run "
                    "them. Install Debian's wine packages (./scripts/test.sh does) and configure "
                    "again.")
endif()

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
#   SERIAL        its tests use the whole screen, so nothing runs beside them
#   BESIDE_SAVER  placed next to Plovix.scr, which it starts
function(plovix_add_test name)
    cmake_parse_arguments(PARSE_ARGV 1 ARG "SERIAL;BESIDE_SAVER" "" "SOURCES;LIBRARIES")
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} GTest::gtest GTest::gmock
                                          GTest::gtest_main plovix_test_support plovix_options)
    if(ARG_BESIDE_SAVER)
        set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
        add_dependencies(${name} Plovix previewhost)
    endif()
    set(properties TIMEOUT 120)
    if(ARG_SERIAL)
        list(APPEND properties RUN_SERIAL TRUE)
    endif()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                         PROPERTIES ${properties})
endfunction()
