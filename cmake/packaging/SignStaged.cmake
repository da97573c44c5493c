# Run by CPack once both savers are staged and before the installer is made:
# signs them when the package command is given a certificate (sign.sh does
# nothing otherwise).
file(GLOB_RECURSE savers ${CPACK_TEMPORARY_DIRECTORY}/*.scr)
if(NOT savers)
    message(FATAL_ERROR "No saver staged in ${CPACK_TEMPORARY_DIRECTORY}")
endif()
foreach(saver IN LISTS savers)
    execute_process(COMMAND ${CPACK_PLOVIX_SIGN} ${saver} "${CPACK_NSIS_PACKAGE_NAME}"
                    COMMAND_ERROR_IS_FATAL ANY)
endforeach()
