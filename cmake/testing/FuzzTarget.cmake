# The test of one fuzz target: the target over its seeds and the inputs it
# found before, then fuzzing for SECONDS with the dictionary. New inputs go to
# RUN/corpus, never into the seeds; an input that crashes it or breaks one of
# its properties is kept in RUN/findings, its output in RUN/fuzz.log. It works
# in RUN/work, a folder of its own, where a failed consistency check of the
# code under test writes assertion.txt. Prints the executions and their rate,
# or what failed and where the input is kept.
#
# cmake -D FUZZER=<program> -D SEEDS=<folder> -D RUN=<folder> -D DICTIONARY=<file>
#       -D SECONDS=<seconds> -P FuzzTarget.cmake
#
# PLOVIX_FUZZ_SECONDS in the environment, when set, is the time instead: the
# fuzz command's.

if(DEFINED ENV{PLOVIX_FUZZ_SECONDS})
    set(SECONDS $ENV{PLOVIX_FUZZ_SECONDS})
endif()
file(MAKE_DIRECTORY ${RUN}/corpus ${RUN}/findings ${RUN}/work)
file(REMOVE ${RUN}/work/assertion.txt)
set(log ${RUN}/fuzz.log)
execute_process(
    COMMAND ${FUZZER} -max_total_time=${SECONDS} -timeout=10 -dict=${DICTIONARY}
            -print_final_stats=1 -artifact_prefix=${RUN}/findings/ ${RUN}/corpus ${SEEDS}
    WORKING_DIRECTORY ${RUN}/work RESULT_VARIABLE code OUTPUT_FILE ${log} ERROR_FILE ${log})
file(READ ${log} output)
get_filename_component(target ${FUZZER} NAME)

if(code EQUAL 0)
    string(REGEX MATCH "stat::number_of_executed_units: *([0-9]+)" runs "${output}")
    set(runs ${CMAKE_MATCH_1})
    string(REGEX MATCH "Done [0-9]+ runs in ([0-9]+) second" seconds "${output}")
    set(seconds ${CMAKE_MATCH_1})
    string(REGEX MATCH "stat::average_exec_per_sec: *([0-9]+)" rate "${output}")
    message("${target}: ${runs} runs in ${seconds} s, ${CMAKE_MATCH_1} exec/s")
    return()
endif()

# What libFuzzer and the sanitizers say went wrong, or else the log's end.
string(REGEX MATCHALL "[^\n]*(property failed|ERROR:|SUMMARY:)[^\n]*" said "${output}")
if(said)
    list(JOIN said "\n" said)
else()
    set(said "${output}")
    string(LENGTH "${output}" length)
    if(length GREATER 3000)
        math(EXPR from "${length} - 3000")
        string(SUBSTRING "${output}" ${from} -1 said)
    endif()
endif()
set(kept "")
if(output MATCHES "Test unit written to ([^\n]*)")
    set(kept "; the input is kept as ${CMAKE_MATCH_1}")
endif()
message("${said}")
message(FATAL_ERROR "${target} failed${kept}; its log is ${log}")
