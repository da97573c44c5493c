# The one date of every package, as seconds since 1970 in `epoch`:
# SOURCE_DATE_EPOCH when set, else the time of the commit in SOURCE_DIR, so
# that the same commit gives the same bytes.

if(DEFINED ENV{SOURCE_DATE_EPOCH})
    set(epoch $ENV{SOURCE_DATE_EPOCH})
else()
    execute_process(COMMAND git log -1 --format=%ct WORKING_DIRECTORY ${SOURCE_DIR}
                    OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "The packages' date comes from the commit: set SOURCE_DATE_EPOCH "
                            "outside a git checkout")
    endif()
endif()
