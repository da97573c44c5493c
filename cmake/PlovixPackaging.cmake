# The release packages, made in the 64-bit build from its saver and the
# 32-bit build's (./scripts/package.sh builds both): the installer,
# Plovix-<version>-setup.exe, by CPack's NSIS generator, and the archive,
# Plovix-<version>.zip, by the release-archive target, each for both kinds of
# Windows; and for administrators a Windows Installer package for each
# architecture by the release-msi target. All land in packages/ of the 64-bit
# build, and with them the Windows package manager's manifests of the
# release, in packages/winget/, by the winget-manifests target.

# Each build installs its saver under the name the packages give it.
math(EXPR plovix_bits "${CMAKE_SIZEOF_VOID_P} * 8")
get_target_property(plovix_saver_suffix Plovix SUFFIX)
set(PLOVIX_SAVER_FILE Plovix${plovix_saver_suffix})
set(PLOVIX_PACKAGED_SAVER_32 Plovix-32-bit${plovix_saver_suffix})
set(PLOVIX_PACKAGED_SAVER_64 Plovix-64-bit${plovix_saver_suffix})
install(PROGRAMS $<TARGET_FILE:Plovix> DESTINATION . RENAME ${PLOVIX_PACKAGED_SAVER_${plovix_bits}}
        COMPONENT saver)

# The acceptance kit's programs, each build's in a folder of its own: the
# saver, its test programs, the preview host, the desktop probe, the
# benchmark's driver with references (c) and (d), the runner and its list
# of tests (tests/, cmake/PlovixGoogleTest.cmake).
if(PLOVIX_BUILD_TESTS)
    set(PLOVIX_ACCEPTANCE_PROGRAMS Plovix unit_tests saver_tests e2e_tests previewhost desktopprobe
                                   benchdriver reference-switching reference-monitors
                                   plovix-acceptance)
    add_custom_target(acceptance-programs)
    add_dependencies(acceptance-programs ${PLOVIX_ACCEPTANCE_PROGRAMS})
endif()

if(NOT plovix_bits EQUAL 64)
    return()
endif()

set(PLOVIX_WIN32_BUILD_DIR "${CMAKE_BINARY_DIR}/../win32"
    CACHE PATH "The 32-bit build whose saver goes into the packages")
set(PLOVIX_PACKAGE_DIR ${CMAKE_BINARY_DIR}/packages)

set(CPACK_GENERATOR NSIS)
set(CPACK_PACKAGE_VENDOR "${PLOVIX_AUTHORS}")
# Kept apart: once CPack's module is included, CPACK_PACKAGE_FILE_NAME names
# the source package.
set(PLOVIX_SETUP_NAME ${PROJECT_NAME}-${PROJECT_VERSION}-setup)
set(CPACK_PACKAGE_FILE_NAME ${PLOVIX_SETUP_NAME})
set(CPACK_PACKAGE_DIRECTORY ${PLOVIX_PACKAGE_DIR})
set(CPACK_PACKAGE_INSTALL_DIRECTORY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY ${PROJECT_NAME})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
# Both savers, side by side in one staging folder.
set(CPACK_INSTALL_CMAKE_PROJECTS
    "${PLOVIX_WIN32_BUILD_DIR};${PROJECT_NAME};saver;/"
    "${CMAKE_BINARY_DIR};${PROJECT_NAME};saver;/")
set(CPACK_NSIS_PACKAGE_NAME "${PROJECT_DESCRIPTION}")
set(CPACK_NSIS_DISPLAY_NAME "${PROJECT_DESCRIPTION}")
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/src/app/resources/plovix.ico)
# Read by the installer's own template in cmake/packaging.
set(CPACK_PLOVIX_COPYRIGHT "${PLOVIX_COPYRIGHT}")
set(CPACK_PLOVIX_SAVER_FILE ${PLOVIX_SAVER_FILE})
set(CPACK_PLOVIX_SAVER_32 ${PLOVIX_PACKAGED_SAVER_32})
set(CPACK_PLOVIX_SAVER_64 ${PLOVIX_PACKAGED_SAVER_64})
# The installer's and uninstaller's exit codes besides 0: Windows' error
# codes for what happened, none of which NSIS itself returns (1 cancelled,
# 2 aborted or damaged). All but the last change nothing: the saver's file is
# in use (ERROR_SHARING_VIOLATION), the product is installed in the other
# mode (ERROR_PRODUCT_VERSION), all users need an administrator
# (ERROR_ELEVATION_REQUIRED), an uninstaller that belongs to no install of
# this account or of all users (ERROR_UNKNOWN_PRODUCT); any other failure
# (ERROR_INSTALL_FAILURE).
set(CPACK_PLOVIX_EXIT_IN_USE 32)
set(CPACK_PLOVIX_EXIT_OTHER_MODE 1638)
set(CPACK_PLOVIX_EXIT_NEEDS_ADMIN 740)
set(CPACK_PLOVIX_EXIT_NOT_INSTALLED_HERE 1605)
set(CPACK_PLOVIX_EXIT_FAILED 1603)
# Signing when the package command is given a certificate: the staged savers
# before the installer is made (SignStaged.cmake), the uninstaller and the
# installer by makensis (the template).
set(CPACK_PLOVIX_SIGN ${PROJECT_SOURCE_DIR}/scripts/lib/sign.sh)
# The wizard's side and header pictures, drawn from the saver's own picture
# before the installer is made (WizardPictures.cmake).
set(CPACK_PLOVIX_PICTURE ${PROJECT_SOURCE_DIR}/src/app/resources/startup.bmp)
set(CPACK_PLOVIX_WIZARD_SIDE ${CMAKE_BINARY_DIR}/wizard/side.bmp)
set(CPACK_PLOVIX_WIZARD_HEADER ${CMAKE_BINARY_DIR}/wizard/header.bmp)
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/packaging/SignStaged.cmake
                            ${PROJECT_SOURCE_DIR}/cmake/packaging/WizardPictures.cmake)
list(PREPEND CMAKE_MODULE_PATH ${PROJECT_SOURCE_DIR}/cmake/packaging)
include(CPack)

add_custom_target(release-archive
    COMMAND ${CMAKE_COMMAND}
        -D SOURCE_DIR=${PROJECT_SOURCE_DIR}
        -D PRODUCT=${PROJECT_DESCRIPTION}
        -D VERSION=${PROJECT_VERSION}
        -D SAVER_32=${PLOVIX_WIN32_BUILD_DIR}/${PLOVIX_SAVER_FILE}
        -D SAVER_64=$<TARGET_FILE:Plovix>
        -D NAME_32=${PLOVIX_PACKAGED_SAVER_32}
        -D NAME_64=${PLOVIX_PACKAGED_SAVER_64}
        -D SIGN=${PROJECT_SOURCE_DIR}/scripts/lib/sign.sh
        -D STAGE=${CMAKE_BINARY_DIR}/release-archive
        -D ARCHIVE=${PLOVIX_PACKAGE_DIR}/${PROJECT_NAME}-${PROJECT_VERSION}.zip
        -P ${PROJECT_SOURCE_DIR}/cmake/packaging/ReleaseArchive.cmake
    DEPENDS Plovix
    COMMENT "Making the release archive"
    VERBATIM)

# The Windows Installer packages for administrators, Plovix-<version>-x64.msi
# with the 64-bit saver and Plovix-<version>-x86.msi with the 32-bit one, made
# with wixl by the release-msi target (CPack has no generator for wixl). The
# upgrade code stands for the product in every version and architecture and
# never changes: a package finds an older version of the product by it and
# takes its place.
set(PLOVIX_MSI_UPGRADE_CODE 1F9CBB86-4E18-4473-BC23-A97690A385A2)
set(plovix_msi_folder ${CMAKE_BINARY_DIR}/release-msi)
set(plovix_msi_saver_x64 $<TARGET_FILE:Plovix>)
set(plovix_msi_saver_x86 ${PLOVIX_WIN32_BUILD_DIR}/${PLOVIX_SAVER_FILE})
foreach(architecture x64 x86)
    set(plovix_msi_${architecture}
        ${PLOVIX_PACKAGE_DIR}/${PROJECT_NAME}-${PROJECT_VERSION}-${architecture}.msi)
endforeach()
# What every package shares, read by ReleaseMsi.cmake and by the package
# test, which also finds the packages here.
file(CONFIGURE OUTPUT ${plovix_msi_folder}/settings.cmake @ONLY CONTENT [[
set(PRODUCT "@PROJECT_DESCRIPTION@")
set(PUBLISHER "@PLOVIX_AUTHORS@")
set(RELEASE_VERSION "@PROJECT_VERSION@")
set(UPGRADE_CODE "@PLOVIX_MSI_UPGRADE_CODE@")
set(SAVER_FILE "@PLOVIX_SAVER_FILE@")
set(ICON "@PROJECT_SOURCE_DIR@/src/app/resources/plovix.ico")
set(TEMPLATE "@PROJECT_SOURCE_DIR@/cmake/packaging/Plovix.wxs")
set(SIGN "@PROJECT_SOURCE_DIR@/scripts/lib/sign.sh")
set(SOURCE_DIR "@PROJECT_SOURCE_DIR@")
set(PACKAGE_x64 "@plovix_msi_x64@")
set(PACKAGE_x86 "@plovix_msi_x86@")
]])
set(plovix_msi_commands)
foreach(architecture x64 x86)
    list(APPEND plovix_msi_commands COMMAND ${CMAKE_COMMAND}
        -D SETTINGS=${plovix_msi_folder}/settings.cmake
        -D ARCH=${architecture}
        -D SAVER=${plovix_msi_saver_${architecture}}
        -D STAGE=${plovix_msi_folder}/${architecture}
        -D MSI=${plovix_msi_${architecture}}
        -P ${PROJECT_SOURCE_DIR}/cmake/packaging/ReleaseMsi.cmake)
endforeach()
add_custom_target(release-msi
    ${plovix_msi_commands}
    DEPENDS Plovix
    COMMENT "Making the Windows Installer packages"
    VERBATIM)

get_filename_component(plovix_msi_x64_name ${plovix_msi_x64} NAME)
get_filename_component(plovix_msi_x86_name ${plovix_msi_x86} NAME)
set(PLOVIX_MSI_PACKAGES ${plovix_msi_x64_name} ${plovix_msi_x86_name})

# The package's name in the Windows package manager, Publisher.Name; users and
# the community repository know it by this name, so it stays from release to
# release. The manifests are written from the packages made, so the target
# builds nothing; it reads the web folder they will be published in from
# PLOVIX_RELEASE_URL when it runs.
set(PLOVIX_WINGET_IDENTIFIER Plovix.PlovixScreensaver)
string(TOLOWER ${PROJECT_NAME} plovix_moniker)
add_custom_target(winget-manifests
    COMMAND ${CMAKE_COMMAND}
        -D IDENTIFIER=${PLOVIX_WINGET_IDENTIFIER}
        -D VERSION=${PROJECT_VERSION}
        -D PUBLISHER=${PLOVIX_AUTHORS}
        -D PRODUCT=${PROJECT_DESCRIPTION}
        -D MONIKER=${plovix_moniker}
        -D LICENSE=${PLOVIX_LICENSE}
        -D COPYRIGHT=${PLOVIX_COPYRIGHT}
        -D SUMMARY=${PLOVIX_SUMMARY}
        -D PACKAGES=${PLOVIX_PACKAGE_DIR}
        -D SETUP=${PLOVIX_SETUP_NAME}.exe
        -D SETUP_PRODUCT_CODE=${CPACK_PACKAGE_INSTALL_REGISTRY_KEY}
        -D EXIT_IN_USE=${CPACK_PLOVIX_EXIT_IN_USE}
        -D EXIT_OTHER_MODE=${CPACK_PLOVIX_EXIT_OTHER_MODE}
        "-D MSIS=$<JOIN:${PLOVIX_MSI_PACKAGES},$<SEMICOLON>>"
        -D OUTPUT=${PLOVIX_PACKAGE_DIR}/winget
        -P ${PROJECT_SOURCE_DIR}/cmake/packaging/WingetManifests.cmake
    COMMENT "Writing the winget manifests"
    VERBATIM)

# The acceptance kit, Plovix-<version>-acceptance.zip: run-acceptance.cmd at
# its root and each build's programs in x64\ and x86\, for a person or a
# forge's runner to prove the saver on a Windows PC (tools/acceptance). Made
# like the archive: the same sources give the same bytes, and every program
# is signed when the package command is given a certificate.
if(PLOVIX_BUILD_TESTS)
    set(plovix_kit_files)
    foreach(program ${PLOVIX_ACCEPTANCE_PROGRAMS})
        list(APPEND plovix_kit_files
             "$<PATH:RELATIVE_PATH,$<TARGET_FILE:${program}>,${CMAKE_BINARY_DIR}>")
    endforeach()
    # One argument: the paths apart by "|", which no path here holds.
    list(JOIN plovix_kit_files "|" plovix_kit_files)
    add_custom_target(acceptance-kit
        COMMAND ${CMAKE_COMMAND}
            -D SOURCE_DIR=${PROJECT_SOURCE_DIR}
            -D PRODUCT=${PROJECT_DESCRIPTION}
            -D "FILES=${plovix_kit_files}|acceptance-tests.txt"
            -D BUILD_64=${CMAKE_BINARY_DIR}
            -D BUILD_32=${PLOVIX_WIN32_BUILD_DIR}
            -D SIGN=${PROJECT_SOURCE_DIR}/scripts/lib/sign.sh
            -D STAGE=${CMAKE_BINARY_DIR}/acceptance-kit
            -D ARCHIVE=${PLOVIX_PACKAGE_DIR}/${PROJECT_NAME}-${PROJECT_VERSION}-acceptance.zip
            -P ${PROJECT_SOURCE_DIR}/cmake/packaging/AcceptanceKit.cmake
        DEPENDS acceptance-programs
        COMMENT "Making the acceptance kit"
        VERBATIM)
endif()
