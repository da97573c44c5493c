# How long the tests, the commands and their tools wait, one row each, in
# seconds. The commands read them from timeouts.sh in the build folder, as
# PLOVIX_TIMEOUT_<NAME>; the C++ code from timeouts/Timeouts.h, as
# timeouts::<NAME>_MS; both are written here.

set(PLOVIX_TIMEOUTS)
macro(plovix_timeout name seconds)
    set(PLOVIX_TIMEOUT_${name} ${seconds})
    list(APPEND PLOVIX_TIMEOUTS ${name})
endmacro()

# A test, and a host test program listing its tests, before CTest ends it.
plovix_timeout(TEST 120)
# Before that, the display script's watchdog prints what each process of a
# Windows test waits on and ends it, so that a hang is never silent.
math(EXPR plovix_watchdog "${PLOVIX_TIMEOUT_TEST} - 20")
plovix_timeout(WATCHDOG ${plovix_watchdog})
# A test that sets up Windows: a display's start, which makes its Wine prefix
# the first time, and an installer test, which makes fresh ones. The
# planted-fault command gives it to a test that names no timeout.
plovix_timeout(SETUP 900)
# Making and signing the packages of both builds.
plovix_timeout(PACKAGES 1800)
# Writing and reading the winget manifests.
plovix_timeout(MANIFESTS 300)
# The acceptance kit's whole run on a test display, its fresh prefix aside.
plovix_timeout(ACCEPTANCE 600)
# A state that a test or command waits for: a display server's start, a box,
# a colour on the screen, a run's end and its display mode put back.
plovix_timeout(WAIT 10)
# One that follows at once on what the waiter did: a program's end after its
# key, its box answered or its process ended, what is left of a Wine prefix
# after its server was ended, a switch as another process sees it.
plovix_timeout(SHORT_WAIT 5)
# The first window or picture of a program just started, or a wizard's page.
plovix_timeout(WINDOW 30)

set(plovix_shell "# The waits of cmake/PlovixTimeouts.cmake, in seconds.\n")
set(plovix_header "// The waits of cmake/PlovixTimeouts.cmake, which says what each is for.
#ifndef PLOVIX_TIMEOUTS_TIMEOUTS_H
#define PLOVIX_TIMEOUTS_TIMEOUTS_H

namespace timeouts {

")
foreach(name IN LISTS PLOVIX_TIMEOUTS)
    string(APPEND plovix_shell "PLOVIX_TIMEOUT_${name}=${PLOVIX_TIMEOUT_${name}}\n")
    math(EXPR milliseconds "${PLOVIX_TIMEOUT_${name}} * 1000")
    string(APPEND plovix_header "constexpr int ${name}_MS = ${milliseconds};\n")
endforeach()
string(APPEND plovix_header "\n} // namespace timeouts\n\n#endif\n")
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/timeouts.sh CONTENT "${plovix_shell}" @ONLY)
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/timeouts/Timeouts.h
     CONTENT "${plovix_header}" @ONLY)
add_library(plovix_timeouts INTERFACE)
target_include_directories(plovix_timeouts INTERFACE ${CMAKE_BINARY_DIR}/generated)
