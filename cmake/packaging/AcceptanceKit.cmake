# Makes the acceptance kit: run-acceptance.cmd and LICENSE.txt at its root,
# the 64-bit build's programs in x64\ and the 32-bit build's in x86\, under
# the same names. The same sources give the same bytes (ReproducibleZip.cmake);
# every program is signed when a certificate is given.
#
# cmake -D SOURCE_DIR=... -D PRODUCT=... -D FILES=<paths relative to each build, apart by |>
#       -D BUILD_64=... -D BUILD_32=... -D SIGN=<sign.sh> -D STAGE=<folder>
#       -D ARCHIVE=<zip> -P AcceptanceKit.cmake

include(${CMAKE_CURRENT_LIST_DIR}/ReproducibleZip.cmake)

file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${STAGE}/x64 ${STAGE}/x86)
function(write_text name text)
    string(REPLACE "\n" "\r\n" text "${text}")
    file(WRITE ${STAGE}/${name} "${text}")
endfunction()
file(READ ${SOURCE_DIR}/LICENSE licence)
write_text(LICENSE.txt "${licence}")
write_text(run-acceptance.cmd [=[@echo off
rem The acceptance kit: runs the screen saver's tests and measurements on
rem this PC and writes acceptance-report.html and acceptance-report.xml
rem beside this file. Ends with 0 when every test that ran passed.
setlocal
cd /d "%~dp0"
set folder=x86
if /i "%PROCESSOR_ARCHITECTURE%"=="AMD64" set folder=x64
if /i "%PROCESSOR_ARCHITEW6432%"=="AMD64" set folder=x64
"%folder%\plovix-acceptance.exe" %*
exit /b %errorlevel%
]=])

string(REPLACE "|" ";" FILES "${FILES}")
foreach(file ${FILES})
    get_filename_component(name ${file} NAME)
    foreach(bits 64 32)
        if(bits EQUAL 64)
            set(folder x64)
        else()
            set(folder x86)
        endif()
        if(NOT EXISTS ${BUILD_${bits}}/${file})
            message(FATAL_ERROR "The acceptance kit needs ${BUILD_${bits}}/${file}: build the "
                                "acceptance-programs target of both builds first.")
        endif()
        file(COPY_FILE ${BUILD_${bits}}/${file} ${STAGE}/${folder}/${name})
        if(name MATCHES "\\.(exe|scr)$")
            execute_process(COMMAND ${SIGN} ${STAGE}/${folder}/${name} "${PRODUCT}"
                            COMMAND_ERROR_IS_FATAL ANY)
        endif()
    endforeach()
endforeach()

plovix_zip(${STAGE} ${ARCHIVE})
message(STATUS "Acceptance kit: ${ARCHIVE}")
