# Writes the Windows package manager's (winget's) manifests of the release,
# schema 1.12.0, into OUTPUT: IDENTIFIER.yaml (the version manifest),
# IDENTIFIER.installer.yaml and IDENTIFIER.locale.en-US.yaml. The installers
# are the packaged files in PACKAGES, each at PLOVIX_RELEASE_URL, the web
# folder the release is published in, read from the environment when this
# runs. Without that address nothing is written; either way the manifests of
# an earlier run go, so none outlive the packages they describe.
#
# The NSIS installer SETUP serves both architectures and both scopes; each MSI
# of MSIS serves the architecture and has the product code that the file
# itself records. Every one of them must be there: a manifest lists the whole
# release or is not written.
#
# cmake -D IDENTIFIER=... -D VERSION=... -D PUBLISHER=... -D PRODUCT=... -D MONIKER=...
#       -D LICENSE=... -D COPYRIGHT=... -D SUMMARY=... -D PACKAGES=<folder>
#       -D SETUP=<file name> -D SETUP_PRODUCT_CODE=<uninstall key's name>
#       -D EXIT_IN_USE=<code> -D EXIT_OTHER_MODE=<code>
#       -D MSIS=<file names> -D OUTPUT=<folder> -P WingetManifests.cmake

set(schema 1.12.0)
set(locale en-US)

file(REMOVE_RECURSE ${OUTPUT})
set(url "$ENV{PLOVIX_RELEASE_URL}")
if(url STREQUAL "")
    message(STATUS "No winget manifests: no release URL given (PLOVIX_RELEASE_URL)")
    return()
endif()
# The file names are appended to it, which a query or fragment would break.
if(NOT url MATCHES "^[Hh][Tt][Tt][Pp][Ss]?://[^\r\n\t \"#?]+$")
    message(FATAL_ERROR "PLOVIX_RELEASE_URL is not the http(s) address of a web folder: ${url}")
endif()
string(REGEX REPLACE "/+$" "" url "${url}")
string(APPEND url /)

set(missing)
foreach(file IN LISTS SETUP MSIS)
    if(NOT EXISTS ${PACKAGES}/${file})
        list(APPEND missing ${file})
    endif()
endforeach()
if(missing)
    list(JOIN missing ", " missing)
    message(FATAL_ERROR "No winget manifests: ${PACKAGES} lacks the release's ${missing}")
endif()

# A double-quoted YAML scalar, read as the text it holds whatever that looks
# like: a version or a hash of digits stays a string.
function(quoted variable text)
    string(REPLACE "\\" "\\\\" text "${text}")
    string(REPLACE "\"" "\\\"" text "${text}")
    set(${variable} "\"${text}\"" PARENT_SCOPE)
endfunction()

# Appends to `installers` the entry of one installer; ARGN, its further lines.
function(add_installer architecture type scope file)
    file(SHA256 ${PACKAGES}/${file} hash)
    string(TOUPPER ${hash} hash)
    quoted(address "${url}${file}")
    quoted(hash ${hash})
    string(APPEND installers
        "- Architecture: ${architecture}\n"
        "  InstallerType: ${type}\n"
        "  Scope: ${scope}\n"
        "  InstallerUrl: ${address}\n"
        "  InstallerSha256: ${hash}\n")
    foreach(line IN LISTS ARGN)
        string(APPEND installers "  ${line}\n")
    endforeach()
    set(installers "${installers}" PARENT_SCOPE)
endfunction()

set(installers "")
# One 32-bit installer that puts the right saver on either kind of Windows;
# NSIS MultiUser's switches choose the scope, which winget's defaults for
# nullsoft lack. winget passes Custom in every mode, the wizard's too, and
# Silent or SilentWithProgress only in theirs. A saver in use ends it with
# EXIT_IN_USE, an install in the other scope with EXIT_OTHER_MODE, either
# changing nothing. Its exit code for all users asked for without an
# administrator's rights has no response of the schema's that fits, and winget
# never meets it: it starts the installer elevated for the machine.
quoted(setup_product_code "${SETUP_PRODUCT_CODE}")
foreach(architecture x64 x86)
    foreach(scope machine user)
        if(scope STREQUAL user)
            set(mode /CurrentUser)
            # An administrator is asked to approve by the installer itself.
            set(elevation elevatesSelf)
        else()
            set(mode /AllUsers)
            # Started elevated by winget: a standard user is asked for an
            # administrator's approval instead of the installer failing.
            set(elevation elevationRequired)
        endif()
        add_installer(${architecture} nullsoft ${scope} ${SETUP}
            "InstallerSwitches:"
            "  Silent: /S"
            "  SilentWithProgress: /S"
            "  Custom: ${mode}"
            # The uninstall entry's key, by which winget finds the product installed.
            "ProductCode: ${setup_product_code}"
            "ElevationRequirement: ${elevation}"
            "ExpectedReturnCodes:"
            "- InstallerReturnCode: ${EXIT_IN_USE}"
            "  ReturnResponse: packageInUse"
            "- InstallerReturnCode: ${EXIT_OTHER_MODE}"
            "  ReturnResponse: alreadyInstalled")
    endforeach()
endforeach()

foreach(msi IN LISTS MSIS)
    execute_process(COMMAND msiinfo suminfo ${PACKAGES}/${msi}
                    OUTPUT_VARIABLE summary ERROR_VARIABLE error RESULT_VARIABLE failed)
    if(NOT failed)
        execute_process(COMMAND msiinfo export ${PACKAGES}/${msi} Property
                        OUTPUT_VARIABLE properties ERROR_VARIABLE error RESULT_VARIABLE failed)
    endif()
    if(failed)
        message(FATAL_ERROR "Cannot read ${msi} with msiinfo: ${failed}\n${error}")
    endif()
    # Windows Installer's name of the platform, first in the template.
    if(summary MATCHES "(^|\n)Template: x64;")
        set(architecture x64)
    elseif(summary MATCHES "(^|\n)Template: Intel;")
        set(architecture x86)
    else()
        message(FATAL_ERROR "${msi} is for no platform of x64 and Intel (x86):\n${summary}")
    endif()
    foreach(property ProductCode UpgradeCode)
        if(NOT properties MATCHES "(^|\n)${property}\t({[-0-9A-Fa-f]+})\r?\n")
            message(FATAL_ERROR "${msi} has no ${property} property")
        endif()
        quoted(${property} ${CMAKE_MATCH_2})
    endforeach()
    # The upgrade code, the same in every version, lets winget know the
    # product installed by a package of a version it does not list.
    set(lines "ProductCode: ${ProductCode}" "AppsAndFeaturesEntries:" "- UpgradeCode: ${UpgradeCode}")
    if(architecture STREQUAL x86)
        # Windows Installer refuses it on 64-bit Windows (its launch condition).
        list(APPEND lines "UnsupportedOSArchitectures:" "- x64" "- arm64")
    endif()
    add_installer(${architecture} msi machine ${msi} ${lines})
endforeach()

set(file_name ${IDENTIFIER})
foreach(field IDENTIFIER VERSION PUBLISHER PRODUCT MONIKER LICENSE COPYRIGHT SUMMARY)
    quoted(${field} "${${field}}")
endforeach()
# The first line tells editors the schema; winget reads the fields only.
function(write_manifest type name body)
    file(WRITE ${OUTPUT}/${name}
        "# yaml-language-server: $schema=https://aka.ms/winget-manifest.${type}.${schema}.schema.json\n"
        "\n"
        "PackageIdentifier: ${IDENTIFIER}\n"
        "PackageVersion: ${VERSION}\n"
        "${body}"
        "ManifestType: ${type}\n"
        "ManifestVersion: ${schema}\n")
endfunction()

write_manifest(version ${file_name}.yaml "DefaultLocale: ${locale}\n")
write_manifest(installer ${file_name}.installer.yaml "Installers:\n${installers}")
string(CONCAT description
    "PackageLocale: ${locale}\n"
    "Publisher: ${PUBLISHER}\n"
    "PackageName: ${PRODUCT}\n"
    "Moniker: ${MONIKER}\n"
    "License: ${LICENSE}\n"
    "Copyright: ${COPYRIGHT}\n"
    "ShortDescription: ${SUMMARY}\n")
write_manifest(defaultLocale ${file_name}.locale.${locale}.yaml "${description}")
message(STATUS "winget manifests: ${OUTPUT}")
