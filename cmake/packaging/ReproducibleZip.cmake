# plovix_zip(STAGE ARCHIVE): packs every file under STAGE into ARCHIVE so
# that the same files give the same bytes: sorted entries, one mode and one
# date for every file, the date of the commit (or SOURCE_DATE_EPOCH when
# set), and no extra attributes. For the package scripts run with -P.

include(${CMAKE_CURRENT_LIST_DIR}/SourceDate.cmake)

function(plovix_zip stage archive)
    file(GLOB_RECURSE entries RELATIVE ${stage} ${stage}/*)
    list(SORT entries)
    foreach(entry IN LISTS entries)
        file(CHMOD ${stage}/${entry} PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
    endforeach()
    execute_process(COMMAND touch -d @${epoch} ${entries} WORKING_DIRECTORY ${stage}
                    COMMAND_ERROR_IS_FATAL ANY)
    # zip adds to an archive that exists; the archive is made anew. It stores
    # local times, so the time zone is fixed.
    file(REMOVE ${archive})
    get_filename_component(folder ${archive} DIRECTORY)
    file(MAKE_DIRECTORY ${folder})
    execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC zip -X -D -q ${archive} ${entries}
                    WORKING_DIRECTORY ${stage} COMMAND_ERROR_IS_FATAL ANY)
endfunction()
