# Makes the release archive: both savers under names that say which is which,
# the README's installation section as INSTALL.txt and the licence as
# LICENSE.txt, the texts with Windows line ends. The same sources give the
# same bytes (ReproducibleZip.cmake).
#
# cmake -D SOURCE_DIR=... -D PRODUCT=... -D VERSION=... -D SAVER_32=... -D SAVER_64=...
#       -D NAME_32=... -D NAME_64=... -D SIGN=<sign.sh> -D STAGE=<folder> -D ARCHIVE=<zip>
#       -P ReleaseArchive.cmake

include(${CMAKE_CURRENT_LIST_DIR}/ReproducibleZip.cmake)

set(begin "<!-- installation: copied into the release archive's INSTALL.txt -->\n")
set(end "<!-- end of installation -->")
file(READ ${SOURCE_DIR}/README.md readme)
string(FIND "${readme}" "${begin}" first)
string(FIND "${readme}" "${end}" last)
if(first EQUAL -1 OR last LESS first)
    message(FATAL_ERROR "README.md has no installation section between \"${begin}\" and \"${end}\"")
endif()
string(LENGTH "${begin}" skip)
math(EXPR first "${first} + ${skip}")
math(EXPR length "${last} - ${first}")
string(SUBSTRING "${readme}" ${first} ${length} installation)
string(STRIP "${installation}" installation)
file(READ ${SOURCE_DIR}/LICENSE licence)

file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${STAGE})
function(write_text name text)
    string(REPLACE "\n" "\r\n" text "${text}")
    file(WRITE ${STAGE}/${name} "${text}")
endfunction()
write_text(INSTALL.txt "${PRODUCT} ${VERSION}\n\n${installation}\n")
write_text(LICENSE.txt "${licence}")
file(COPY_FILE ${SAVER_32} ${STAGE}/${NAME_32})
file(COPY_FILE ${SAVER_64} ${STAGE}/${NAME_64})
# Signed when the package command is given a certificate.
foreach(saver ${NAME_32} ${NAME_64})
    execute_process(COMMAND ${SIGN} ${STAGE}/${saver} "${PRODUCT}" COMMAND_ERROR_IS_FATAL ANY)
endforeach()

plovix_zip(${STAGE} ${ARCHIVE})
message(STATUS "Release archive: ${ARCHIVE}")
