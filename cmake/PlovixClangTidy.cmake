# clang-tidy as a test of the builds whose compile commands it reads, labelled
# tidy: the 64-bit clang build's for the Windows sources (as clang reads them),
# the host build's for the programs of the build machine and the fuzz build's
# for the fuzz targets, each source once (cmake/testing/ClangTidy.cmake).

option(PLOVIX_TIDY "Run clang-tidy over this build's sources as the test clang-tidy" OFF)
set(PLOVIX_TIDY_READ_FIRST "" CACHE STRING
    "The builds (folders beside this one) whose clang-tidy tests read their sources, which this build's leaves out")

if(PLOVIX_TIDY)
    find_program(PLOVIX_RUN_CLANG_TIDY run-clang-tidy)
    # A list would split the command's argument; the script takes commas.
    string(REPLACE ";" "," read_first "${PLOVIX_TIDY_READ_FIRST}")
    add_test(NAME clang-tidy
             COMMAND ${CMAKE_COMMAND} -D RUN_CLANG_TIDY=${PLOVIX_RUN_CLANG_TIDY}
                     -D BUILD=${CMAKE_BINARY_DIR} -D SOURCE=${PROJECT_SOURCE_DIR}
                     -D READ_FIRST=${read_first} -P ${PROJECT_SOURCE_DIR}/cmake/testing/ClangTidy.cmake)
    set_tests_properties(clang-tidy PROPERTIES LABELS tidy)
endif()
