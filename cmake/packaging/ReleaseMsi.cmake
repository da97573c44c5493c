# Makes one Windows Installer package for administrators from Plovix.wxs with
# wixl: the saver of one architecture, signed first when the package command
# is given a certificate, then the package, signed itself.
#
# cmake -D SETTINGS=<settings.cmake> -D ARCH=x64|x86 -D SAVER=<file> -D STAGE=<folder>
#       -D MSI=<package> [-D VERSION=<version>] -P ReleaseMsi.cmake
#
# SETTINGS, written by PlovixPackaging.cmake, holds what every package shares:
# the product, its publisher, version and upgrade code, the saver's installed
# name, the icon, the template, the signing script and the source folder.
# VERSION, the release's unless given, lets the package test make an older
# version of the product.
#
# The same inputs give the same bytes. wixl writes the time of its run and a
# random package code into the package's summary and lets neither be chosen,
# so it runs with the clock stopped at the packages' date (faketime), and
# msibuild then names the package after its own bytes. The cabinet inside
# keeps the saver's date, which is the packages' date too.

include(${SETTINGS})
if(NOT DEFINED VERSION)
    set(VERSION ${RELEASE_VERSION})
endif()
include(${CMAKE_CURRENT_LIST_DIR}/SourceDate.cmake)

# One product code for each version and architecture, never another, so that
# an administrator can detect the product by it.
string(UUID product_code NAMESPACE ${UPGRADE_CODE} NAME "${VERSION}/${ARCH}" TYPE SHA1 UPPER)

file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${STAGE})
set(saver ${STAGE}/${SAVER_FILE})
file(COPY_FILE ${SAVER} ${saver})
file(CHMOD ${saver} PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
# Signed when the package command is given a certificate.
execute_process(COMMAND ${SIGN} ${saver} "${PRODUCT}" COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND touch -d @${epoch} ${saver} COMMAND_ERROR_IS_FATAL ANY)
# The x86 package refuses 64-bit Windows and names the x64 package of its
# version instead.
get_filename_component(x64_package ${PACKAGE_x64} NAME)
string(REPLACE "-${RELEASE_VERSION}-" "-${VERSION}-" x64_package ${x64_package})
# wixl 0.101 finds files by names relative to the folder it runs in only.
get_filename_component(icon ${ICON} NAME)
file(COPY_FILE ${ICON} ${STAGE}/${icon})

# faketime reads the date as local time, and a cabinet keeps local times.
set(ENV{TZ} UTC)
# string(TIMESTAMP) gives the time of SOURCE_DATE_EPOCH when it is set.
set(ENV{SOURCE_DATE_EPOCH} ${epoch})
string(TIMESTAMP date "%Y-%m-%d %H:%M:%S" UTC)
file(REMOVE ${MSI})
get_filename_component(folder ${MSI} DIRECTORY)
file(MAKE_DIRECTORY ${folder})
execute_process(
    COMMAND faketime -f "${date}" wixl --arch ${ARCH} --output ${MSI}
        -D Arch=${ARCH} -D ProductCode=${product_code} -D UpgradeCode=${UPGRADE_CODE}
        -D "Product=${PRODUCT}" -D "Publisher=${PUBLISHER}" -D Version=${VERSION}
        -D Icon=${icon} -D SaverFile=${SAVER_FILE} -D Saver=${SAVER_FILE}
        -D X64Package=${x64_package}
        ${TEMPLATE}
    WORKING_DIRECTORY ${STAGE} RESULT_VARIABLE failed ERROR_VARIABLE messages)
# wixl leaves out what it cannot build with no more than a warning.
if(failed OR messages)
    file(REMOVE ${MSI})
    message(FATAL_ERROR "wixl could not make ${MSI} as written:\n${messages}")
endif()

# wixl leaves the saver unversioned in the package, and Windows Installer
# then keeps any Plovix.scr it finds in the way, a versioned one for good.
# The saver's resources give it the product's version with a fourth part, 0.
if(NOT VERSION MATCHES "^[0-9]+\\.[0-9]+\\.[0-9]+")
    message(FATAL_ERROR "A package's version has three numbers: ${VERSION}")
endif()
set(file_version ${CMAKE_MATCH_0})
# A versioned file must have a language and no hash (ICE60); wixl hashes
# every file. The language is that of the saver's own version resource
# (0x409, 1033), which Windows Installer compares when versions are equal.
set(file_queries
    -q "UPDATE `File` SET `Version` = '${file_version}.0', `Language` = '1033' WHERE `File` = 'Saver'"
    -q "DELETE FROM `MsiFileHash` WHERE `File_` = 'Saver'")

# msibuild sets the package code only with the subject, author and template,
# which stay as wixl wrote them.
execute_process(COMMAND msiinfo suminfo ${MSI} OUTPUT_VARIABLE summary COMMAND_ERROR_IS_FATAL ANY)
foreach(field Subject Author Template)
    if(NOT summary MATCHES "(^|\n)${field}: ([^\n]*)")
        message(FATAL_ERROR "msiinfo shows no ${field} in the summary of ${MSI}:\n${summary}")
    endif()
    set(${field} "${CMAKE_MATCH_2}")
endforeach()
function(set_package_code code)
    execute_process(COMMAND msibuild ${MSI} ${ARGN} -s "${Subject}" "${Author}" "${Template}" "{${code}}"
                    COMMAND_ERROR_IS_FATAL ANY)
endfunction()
set_package_code(00000000-0000-0000-0000-000000000000 ${file_queries})
file(SHA256 ${MSI} digest)
string(UUID package_code NAMESPACE ${UPGRADE_CODE} NAME "package ${digest}" TYPE SHA1 UPPER)
set_package_code(${package_code})

execute_process(COMMAND ${SIGN} ${MSI} "${PRODUCT}" COMMAND_ERROR_IS_FATAL ANY)
message(STATUS "Windows Installer package: ${MSI}, product code {${product_code}}")
