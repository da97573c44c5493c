# The private displays the Windows tests run on, one row each:
#
#   plovix_display(NAME KIND <kind> XVFB <width>x<height> | XORG <file of tests/e2e/displays/>
#                  [MONITORS <count>] [PREFIX_PER_BUILD] [FOR <command>...])
#
# KIND: what the display is there to show, which decides the tests that run
# on it (tests/CMakeLists.txt names kinds, never displays): at-picture-size
# (the screen already has the picture's size), refusing (it refuses the
# picture's size), switching (it really switches to it) or two-monitors.
# XVFB: an Xvfb screen of that size, whose mode never really changes. XORG:
# Xorg with the dummy video driver and that configuration; its mode really
# changes, and it runs headless only as root. MONITORS: how many monitors it
# shows, 1 unless said. PREFIX_PER_BUILD: each build gets a Wine prefix of
# its own there, as under Wine 10 a monitor switched off and on leaves the
# layout changed for the programs after it; the builds share the others'.
# FOR: the commands that use it besides the tests: run (its display of that
# many monitors), bench, mutants (a suite it runs to name what catches a
# fault that its own test missed), and acceptance (the acceptance kit is run
# there, as a person runs it, in its suite).
#
# Each display is a CTest fixture of the Windows builds, and its tests'
# label (cmake/PlovixGoogleTest.cmake); the first row's start also proves
# that Wine can switch the display at all. The commands read the table from
# displays.sh in the build folder, written here.

set(PLOVIX_DISPLAYS)
function(plovix_display name)
    cmake_parse_arguments(PARSE_ARGV 1 ARG "PREFIX_PER_BUILD" "KIND;XVFB;XORG;MONITORS" "FOR")
    if(NOT ARG_KIND MATCHES "^(at-picture-size|refusing|switching|two-monitors)$")
        message(FATAL_ERROR "display ${name}: no kind of display \"${ARG_KIND}\"")
    endif()
    list(APPEND PLOVIX_DISPLAYS_OF_${ARG_KIND} ${name})
    set(PLOVIX_DISPLAYS_OF_${ARG_KIND} ${PLOVIX_DISPLAYS_OF_${ARG_KIND}} PARENT_SCOPE)
    set(row PLOVIX_DISPLAY_${name})
    if(ARG_XVFB)
        set(${row}_SERVER Xvfb PARENT_SCOPE)
        set(${row}_SETTING ${ARG_XVFB} PARENT_SCOPE)
        set(${row}_ROOT no PARENT_SCOPE)
    else()
        set(configuration ${PROJECT_SOURCE_DIR}/tests/e2e/displays/${ARG_XORG})
        if(NOT ARG_XORG OR NOT EXISTS ${configuration})
            message(FATAL_ERROR "display ${name}: neither an Xvfb size nor an Xorg configuration")
        endif()
        set(${row}_SERVER Xorg PARENT_SCOPE)
        set(${row}_SETTING ${configuration} PARENT_SCOPE)
        set(${row}_ROOT yes PARENT_SCOPE)
    endif()
    if(NOT ARG_MONITORS)
        set(ARG_MONITORS 1)
    endif()
    set(${row}_MONITORS ${ARG_MONITORS} PARENT_SCOPE)
    set(prefix ${PROJECT_SOURCE_DIR}/build/wine/${name})
    if(ARG_PREFIX_PER_BUILD)
        get_filename_component(build ${CMAKE_BINARY_DIR} NAME)
        string(APPEND prefix -${build})
    endif()
    set(${row}_PREFIX ${prefix} PARENT_SCOPE)
    foreach(command ${ARG_FOR})
        if(NOT command MATCHES "^(run|bench|mutants|acceptance)$")
            message(FATAL_ERROR "display ${name}: no command ${command} uses displays")
        endif()
        list(APPEND PLOVIX_DISPLAYS_FOR_${command} ${name})
        set(PLOVIX_DISPLAYS_FOR_${command} ${PLOVIX_DISPLAYS_FOR_${command}} PARENT_SCOPE)
    endforeach()
    list(APPEND PLOVIX_DISPLAYS ${name})
    set(PLOVIX_DISPLAYS ${PLOVIX_DISPLAYS} PARENT_SCOPE)
endfunction()

# At the picture's size, where the switch changes nothing.
plovix_display(800x600 KIND at-picture-size XVFB 800x600 FOR run bench mutants acceptance)
plovix_display(1024x768 KIND refusing XVFB 1024x768 FOR mutants)
# Both really switch from 1024x768 to 800x600: the first at the desktop's
# rate, the second only at another, as many monitors do, so that every
# switch there takes the retry.
plovix_display(switching-60hz KIND switching XORG switching-60hz.conf FOR bench)
plovix_display(switching-75hz KIND switching XORG switching-75hz.conf FOR mutants)
# A second monitor right of the primary, or left of it at negative x.
plovix_display(two-monitors-right KIND two-monitors XORG two-monitors-right.conf MONITORS 2
               PREFIX_PER_BUILD FOR run bench mutants acceptance)
plovix_display(two-monitors-left KIND two-monitors XORG two-monitors-left.conf MONITORS 2
               PREFIX_PER_BUILD)

# What a Windows test prints, or the display script's watchdog for it, at the
# start of a line saying that a fault of Wine's own, not of the saver's,
# leaves the test's result meaningless; the test command runs such a failed
# test once more on a fresh display (tools/testsummary).
set(PLOVIX_WINE_FAULT_MARK "Wine's own fault: ")

# The environment variable that, set to 1, lets a test switch a monitor
# other than the primary off and on on a person's PC, as the acceptance
# kit's --switch-monitors does; on the test displays it always may.
set(PLOVIX_SWITCH_MONITORS_VARIABLE PLOVIX_SWITCH_MONITORS)

# What a test program whose every test skipped ends with (tests/support's
# TestMain.cpp), for CTest and the acceptance kit: anything else but 0
# fails, so a skip that then crashes or hangs is never taken for a skip.
set(PLOVIX_TEST_SKIPPED_CODE 77)

list(JOIN PLOVIX_DISPLAYS " " plovix_names)
string(CONCAT plovix_shell "# The displays of cmake/PlovixDisplays.cmake, for this build.\n"
                            "PLOVIX_DISPLAYS=(${plovix_names})\n"
                            "PLOVIX_WINE_FAULT_MARK=\"${PLOVIX_WINE_FAULT_MARK}\"\n")
foreach(column SERVER SETTING MONITORS ROOT PREFIX)
    string(APPEND plovix_shell "declare -gA PLOVIX_DISPLAY_${column}=(")
    foreach(display ${PLOVIX_DISPLAYS})
        string(APPEND plovix_shell " [${display}]='${PLOVIX_DISPLAY_${display}_${column}}'")
    endforeach()
    string(APPEND plovix_shell " )\n")
endforeach()
foreach(command run bench mutants)
    string(TOUPPER ${command} variable)
    list(JOIN PLOVIX_DISPLAYS_FOR_${command} " " plovix_names)
    string(APPEND plovix_shell "PLOVIX_DISPLAYS_FOR_${variable}=(${plovix_names})\n")
endforeach()
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/displays.sh CONTENT "${plovix_shell}" @ONLY)
