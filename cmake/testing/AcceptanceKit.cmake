# The acceptance kit for the tests that run it (tests/CMakeLists.txt): the
# 32-bit build configured and its programs built, as the kit holds both
# builds', then the kit made in the 64-bit build. Where both builds are made
# already, as by the test command, this only makes the kit again.
#
# cmake -D SOURCE_DIR=... -D BUILD_64=... -P AcceptanceKit.cmake

foreach(step "--preset;win32" "--build;--preset;win32;--target;acceptance-programs"
             "--build;${BUILD_64};--target;acceptance-kit")
    execute_process(COMMAND ${CMAKE_COMMAND} ${step} WORKING_DIRECTORY ${SOURCE_DIR}
                    OUTPUT_VARIABLE output ERROR_VARIABLE output RESULT_VARIABLE failed)
    if(failed)
        list(JOIN step " " step)
        message(FATAL_ERROR "cmake ${step} failed:\n${output}")
    endif()
endforeach()
