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

# Each display of cmake/PlovixDisplays.cmake is a CTest fixture, started
# before the first test that needs it and ended after the last, labelled
# with its name like its tests.
set(PLOVIX_DISPLAY_SCRIPT ${PROJECT_SOURCE_DIR}/tests/e2e/displays/display.sh)
if(CMAKE_CROSSCOMPILING)
    # The first display's start proves that Wine can switch a display at all.
    set(check check-switch)
    foreach(display ${PLOVIX_DISPLAYS})
        set(row PLOVIX_DISPLAY_${display})
        add_test(NAME ${display}:start
                 COMMAND ${PLOVIX_DISPLAY_SCRIPT} start ${display} ${CMAKE_BINARY_DIR}
                         ${${row}_PREFIX} ${${row}_SERVER} ${${row}_SETTING} ${check})
        set(check)
        add_test(NAME ${display}:stop
                 COMMAND ${PLOVIX_DISPLAY_SCRIPT} stop ${display} ${CMAKE_BINARY_DIR})
        # Labelled fixture too, so that a suite's count leaves them out.
        set_tests_properties(${display}:start PROPERTIES FIXTURES_SETUP display-${display}
                             LABELS "${display};fixture" TIMEOUT ${PLOVIX_TIMEOUT_SETUP})
        set_tests_properties(${display}:stop PROPERTIES FIXTURES_CLEANUP display-${display}
                                                        LABELS "${display};fixture")
    endforeach()
    # The suites the test command expects of this build, one label a line:
    # one a display, whatever tests are registered on it.
    file(WRITE ${CMAKE_BINARY_DIR}/acceptance-tests.txt "")
    list(JOIN PLOVIX_DISPLAYS "\n" plovix_suites)
    file(WRITE ${CMAKE_BINARY_DIR}/expected-suites.txt "${plovix_suites}\n")
endif()

# One test program. On the host its tests are found when ctest runs it; on
# Windows plovix_run_on puts each of its sources on the displays of a kind.
#   SERIAL        its tests use the whole screen, so nothing runs beside them
#   BESIDE_SAVER  placed next to Plovix.scr, which it starts
function(plovix_add_test name)
    cmake_parse_arguments(PARSE_ARGV 1 ARG "SERIAL;BESIDE_SAVER" "" "SOURCES;LIBRARIES")
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBRARIES} GTest::gtest GTest::gmock
                                          plovix_test_main plovix_test_support plovix_options)
    if(ARG_BESIDE_SAVER)
        set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
        add_dependencies(${name} Plovix previewhost)
    endif()
    if(CMAKE_CROSSCOMPILING)
        set_target_properties(${name} PROPERTIES PLOVIX_SERIAL "${ARG_SERIAL}")
        return()
    endif()
    gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT ${PLOVIX_TIMEOUT_TEST}
                         PROPERTIES TIMEOUT ${PLOVIX_TIMEOUT_TEST} RUN_SERIAL "${ARG_SERIAL}"
                                    SKIP_RETURN_CODE ${PLOVIX_TEST_SKIPPED_CODE})
endfunction()

# The tests in the given sources of test program `name` run under Wine on
# every display of that kind: each named and labelled after the display
# ("<display>:Suite.Test") and needing its fixture. The tests are read from
# the sources, so listing them needs neither Wine nor a display. DESK: what
# they need of a desk beyond the test displays, for the acceptance kit, which
# runs them on every desk that has it: any, or offering-picture-size (a
# primary monitor that offers the picture's size); without it, a desk like a
# display of that kind.
function(plovix_run_on name kind)
    cmake_parse_arguments(PARSE_ARGV 2 ARG "" "DESK" "")
    set(needs ${kind})
    if(ARG_DESK MATCHES "^(any|offering-picture-size)$")
        set(needs ${ARG_DESK})
    elseif(ARG_DESK)
        message(FATAL_ERROR "plovix_run_on: no desk \"${ARG_DESK}\"")
    endif()
    get_target_property(serial ${name} PLOVIX_SERIAL)
    set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR
                          "${PLOVIX_DISPLAY_SCRIPT};run;${CMAKE_BINARY_DIR};${PLOVIX_WINE}")
    list(GET PLOVIX_DISPLAYS_OF_${kind} 0 first)
    foreach(display ${PLOVIX_DISPLAYS_OF_${kind}})
        gtest_add_tests(TARGET ${name} SOURCES ${ARG_UNPARSED_ARGUMENTS} TEST_PREFIX ${display}:
                        TEST_LIST tests)
        # The acceptance kit's list: each test once, with the kind of desk it
        # needs, which the kit matches to the desk it finds.
        if(display STREQUAL first)
            list(TRANSFORM tests REPLACE "^${display}:(.*)$"
                 "${needs} ${name}${CMAKE_EXECUTABLE_SUFFIX} \\1\n" OUTPUT_VARIABLE listed)
            list(JOIN listed "" listed)
            file(APPEND ${CMAKE_BINARY_DIR}/acceptance-tests.txt "${listed}")
        endif()
        set_tests_properties(${tests} PROPERTIES TIMEOUT ${PLOVIX_TIMEOUT_TEST} RUN_SERIAL "${serial}"
                             ENVIRONMENT "PLOVIX_DISPLAY=${display};PLOVIX_WATCHDOG_SECONDS=${PLOVIX_TIMEOUT_WATCHDOG}"
                             FIXTURES_REQUIRED display-${display} LABELS ${display}
                             SKIP_RETURN_CODE ${PLOVIX_TEST_SKIPPED_CODE})
    endforeach()
endfunction()
