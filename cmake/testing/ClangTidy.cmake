# The clang-tidy test of one build: clang-tidy, with .clang-tidy's checks,
# over each source of the project that the build's compile commands list, as
# the build compiles it, but for those that the builds named in READ_FIRST
# (folders beside this build's) list, which their own tests read. Fails on any
# finding, and when the compile commands list no source of the project: a
# build configured wrongly, or a changed format, would otherwise pass unread.
#
# cmake -D RUN_CLANG_TIDY=<run-clang-tidy> -D BUILD=<build folder> -D SOURCE=<source folder>
#       [-D READ_FIRST=<build folder names, separated by commas>] -P ClangTidy.cmake
#
# PLOVIX_TIDY_JOBS in the environment is how many files are read at once
# (all cores when unset).

# The project's C++ sources that the compile commands of `folder` list.
function(project_sources folder out)
    set(sources)
    if(EXISTS ${folder}/compile_commands.json)
        file(READ ${folder}/compile_commands.json commands)
        string(JSON count LENGTH "${commands}")
        set(index 0)
        while(index LESS count)
            string(JSON file GET "${commands}" ${index} file)
            string(FIND "${file}" "${SOURCE}/" at)
            if(at EQUAL 0 AND file MATCHES "\\.(cpp|cc)$")
                list(APPEND sources ${file})
            endif()
            math(EXPR index "${index} + 1")
        endwhile()
    endif()
    list(REMOVE_DUPLICATES sources)
    set(${out} ${sources} PARENT_SCOPE)
endfunction()

get_filename_component(build ${BUILD} NAME)
project_sources(${BUILD} sources)
if(NOT sources)
    message(FATAL_ERROR "${BUILD}/compile_commands.json lists no source of the project")
endif()
string(REPLACE "," ";" READ_FIRST "${READ_FIRST}")
foreach(other IN LISTS READ_FIRST)
    project_sources(${BUILD}/../${other} read)
    if(read)
        list(REMOVE_ITEM sources ${read})
    endif()
endforeach()
list(SORT sources)
list(LENGTH sources count)
message("clang-tidy: ${count} sources as the ${build} build compiles them")
if(NOT sources)
    return()
endif()
if(NOT RUN_CLANG_TIDY)
    message(FATAL_ERROR "run-clang-tidy was not found; install Debian's clang-tidy package "
                        "and configure the ${build} build again")
endif()

set(jobs)
if(DEFINED ENV{PLOVIX_TIDY_JOBS})
    set(jobs -j $ENV{PLOVIX_TIDY_JOBS})
endif()
execute_process(COMMAND ${RUN_CLANG_TIDY} ${jobs} -p ${BUILD} -quiet ${sources}
                RESULT_VARIABLE code OUTPUT_VARIABLE output ERROR_VARIABLE output)
# Each file's command and its count of suppressed warnings (the system
# headers') are noise; a finding names its file and check.
string(REGEX REPLACE "\n(clang-tidy(-[0-9]+)? |[0-9]+ warnings? generated\\.|Suppressed [0-9]+ warnings)[^\n]*"
                     "" output "\n${output}")
string(STRIP "${output}" output)
if(output)
    message("${output}")
endif()
if(NOT code EQUAL 0)
    message(FATAL_ERROR "clang-tidy found the above in the ${build} build's sources")
endif()
