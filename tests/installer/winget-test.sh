#!/usr/bin/env bash
# The winget manifests' test: tests/installer/winget-test.sh
#
# Writes the Windows package manager's manifests of the packages made by
# ./scripts/package.sh (the winget-manifests target) for a test address and
# checks them as the package manager's validation and a download would: every
# field the 1.12.0 schemas require is there, every field is one they know with
# a value they allow, written as the type they ask for; identifier, version
# and locale agree across the three manifests and their file names, the
# version is the project's, publisher and name are the installer's uninstall
# entry's; the installers are the setup for each architecture and scope and
# each MSI there is, each at the release folder's address with the packaged
# file's SHA-256; the setup with its scope's switch in every mode, the
# uninstall key's name as its product code, the elevation of its scope and
# its own exit codes mapped; the MSIs with their own product and upgrade
# codes, the x86 one barred from 64-bit Windows. Also: the address
# gives the same manifests with or without its trailing slash, a missing
# installer fails the step, and without an address none are written, and
# none left from before. The last line is "N passed, N failed"; exits
# non-zero when a check failed.
set -euo pipefail

source "$(dirname "$0")/../../scripts/lib/environment.sh"
cd "$PLOVIX_ROOT"

plovix_ensure_packages cmake ninja-build "${PLOVIX_PACKAGING_PACKAGES[@]}" python3-yaml

CHECKS=winget
source tests/installer/checks.sh
VERSION=$(cpack_value CPACK_PACKAGE_VERSION)
SETUP=$(cpack_value CPACK_PACKAGE_FILE_NAME).exe
PACKAGES=$PLOVIX_ROOT/build/win64/packages
MANIFESTS=$PACKAGES/winget
URL=https://example.invalid/plovix/$VERSION/
SCHEMA=1.12.0
# Pinned here: users and the community repository know the package by this
# name from release to release, and its texts are in this language.
IDENTIFIER=Plovix.PlovixScreensaver
LOCALE=en-US

# Holds the setup while the test hides it, and the first manifests written.
HOLD=$(mktemp -d "$PLOVIX_ROOT/build/winget-test.XXXXXX")
restore() {
    if [ -e "$HOLD/$SETUP" ]; then mv "$HOLD/$SETUP" "$PACKAGES/"; fi
    rm -rf "$HOLD"
}
trap restore EXIT

# write_manifests [URL]: runs the step, given URL as PLOVIX_RELEASE_URL or
# none; sets `code` and `output`.
write_manifests() {
    code=0
    output=$(env -u PLOVIX_RELEASE_URL ${1:+PLOVIX_RELEASE_URL="$1"} \
        cmake --build --preset win64 --target winget-manifests 2>&1) || code=$?
}

# fields FILE: each value of a manifest as a line "path<TAB>type<TAB>value",
# lists counted in the path (Installers.0.Scope), the type as YAML reads it.
fields() {
    /usr/bin/python3 - "$1" <<'EOF'
import sys, yaml
def walk(path, node):
    if isinstance(node, dict):
        for key, value in node.items():
            walk(path + [str(key)], value)
    elif isinstance(node, list):
        for index, value in enumerate(node):
            walk(path + [str(index)], value)
    else:
        print(".".join(path), type(node).__name__, node, sep="\t")
with open(sys.argv[1], encoding="utf-8") as manifest:
    walk([], yaml.safe_load(manifest))
EOF
}
# value FIELDS PATH: the value at PATH, or "(absent)".
value() {
    awk -F'\t' -v path="$2" '$1 == path { print $3; found = 1 }
        END { if (!found) print "(absent)" }' <<<"$1"
}

# The 1.12.0 schemas' rules for the fields these manifests hold.
part='[^.[:space:]\/:*?"<>|[:cntrl:]]{1,32}'
IDENTIFIER_PATTERN="^$part(\\.$part){1,7}\$"
VERSION_PATTERN='^[^\/:*?"<>|[:cntrl:]]+$'
LOCALE_PATTERN='^([a-zA-Z]{2,3}|[iI]-[a-zA-Z]+|[xX]-[a-zA-Z]{1,8})(-[a-zA-Z]{1,8})*$'
URL_PATTERN='^[Hh][Tt][Tt][Pp][Ss]?://.+$'
SHA256_PATTERN='^[A-Fa-f0-9]{64}$'
declare -A REQUIRED=(
    [version]="PackageIdentifier PackageVersion DefaultLocale ManifestType ManifestVersion"
    [installer]="PackageIdentifier PackageVersion ManifestType ManifestVersion"
    [defaultLocale]="PackageIdentifier PackageVersion PackageLocale Publisher PackageName License
        ShortDescription ManifestType ManifestVersion")
# Each installer's; InstallerType may stand at the top instead, but not here.
INSTALLER_REQUIRED="Architecture InstallerType InstallerUrl InstallerSha256"
RETURN_RESPONSES="packageInUse packageInUseByApplication installInProgress fileInUse
    missingDependency diskFull insufficientMemory invalidParameter noNetwork contactSupport
    rebootRequiredToFinish rebootRequiredForInstall rebootInitiated cancelledByUser alreadyInstalled
    downgrade blockedByPolicy systemNotSupported custom"

# text TYPE VALUE MIN MAX [PATTERN]: whether VALUE is a string of MIN to MAX
# characters that matches PATTERN.
text() {
    if [ "$1" != str ]; then
        echo "a value YAML reads as $1"
    elif [ ${#2} -lt "$3" ] || [ ${#2} -gt "$4" ]; then
        echo "${#2} characters, not $3 to $4"
    elif [ -n "${5:-}" ] && ! [[ $2 =~ $5 ]]; then
        echo "\"$2\", which does not match $5"
    else
        echo allowed
    fi
}
# one_of TYPE VALUE ALLOWED...
one_of() {
    local type=$1 value=$2
    shift 2
    if [ "$type" = str ] && [[ " $* " == *" $value "* ]]; then
        echo allowed
    else
        echo "\"$value\" ($type), not one of $*"
    fi
}
# judge MANIFEST_TYPE PATH TYPE VALUE: "allowed" where the schema allows the
# value at that place, else what is wrong with it.
judge() {
    local type=$3 value=$4
    case "$1:$(sed -E 's/\.[0-9]+(\.|$)/.*\1/g' <<<"$2")" in
    *:PackageIdentifier) text "$type" "$value" 1 128 "$IDENTIFIER_PATTERN" ;;
    *:PackageVersion) text "$type" "$value" 1 128 "$VERSION_PATTERN" ;;
    *:ManifestType) one_of "$type" "$value" "$1" ;;
    *:ManifestVersion) one_of "$type" "$value" "$SCHEMA" ;;
    version:DefaultLocale | defaultLocale:PackageLocale) text "$type" "$value" 1 20 "$LOCALE_PATTERN" ;;
    defaultLocale:Publisher | defaultLocale:PackageName) text "$type" "$value" 2 256 ;;
    defaultLocale:License | defaultLocale:Copyright) text "$type" "$value" 3 512 ;;
    defaultLocale:ShortDescription) text "$type" "$value" 3 256 ;;
    defaultLocale:Moniker) text "$type" "$value" 1 40 ;;
    installer:Installers.*.Architecture) one_of "$type" "$value" x86 x64 arm arm64 neutral ;;
    installer:Installers.*.InstallerType)
        one_of "$type" "$value" msix msi appx exe zip inno nullsoft wix burn pwa portable font ;;
    installer:Installers.*.Scope) one_of "$type" "$value" user machine ;;
    installer:Installers.*.InstallerUrl) text "$type" "$value" 1 2048 "$URL_PATTERN" ;;
    installer:Installers.*.InstallerSha256) text "$type" "$value" 64 64 "$SHA256_PATTERN" ;;
    installer:Installers.*.InstallerSwitches.Silent | \
        installer:Installers.*.InstallerSwitches.SilentWithProgress)
        text "$type" "$value" 1 512 ;;
    installer:Installers.*.InstallerSwitches.Custom) text "$type" "$value" 1 2048 ;;
    installer:Installers.*.ElevationRequirement)
        one_of "$type" "$value" elevationRequired elevationProhibited elevatesSelf ;;
    installer:Installers.*.UnsupportedOSArchitectures.*) one_of "$type" "$value" x86 x64 arm arm64 ;;
    installer:Installers.*.ExpectedReturnCodes.*.InstallerReturnCode)
        if [ "$type" = int ] && [ "$value" -ne 0 ] && [ "$value" -ge -2147483648 ] &&
            [ "$value" -le 4294967295 ]; then
            echo allowed
        else
            echo "\"$value\" ($type), not a non-zero 32-bit exit code"
        fi
        ;;
    installer:Installers.*.ExpectedReturnCodes.*.ReturnResponse)
        # shellcheck disable=SC2086
        one_of "$type" "$value" $RETURN_RESPONSES
        ;;
    installer:Installers.*.ProductCode | installer:Installers.*.AppsAndFeaturesEntries.*.UpgradeCode)
        text "$type" "$value" 1 255 ;;
    *) echo "a field the $1 manifest does not have" ;;
    esac
}

upper() { tr '[:lower:]' '[:upper:]'; }
sha256() {
    if [ -f "$1" ]; then sha256sum "$1" | cut -d' ' -f1 | upper; else echo "(no such file)"; fi
}

if [ ! -f "$PACKAGES/$SETUP" ]; then
    plovix_log "no installer in $PACKAGES: make the packages with ./scripts/package.sh"
    exit 1
fi

begin "manifests for $URL"
write_manifests "$URL"
check "exit code" 0 "$code"
if [ "$code" -ne 0 ]; then
    printf '%s\n' "$output"
    finish
fi
declare -A FILE FIELDS
for file in "$MANIFESTS"/*; do
    if ! listing=$(fields "$file" 2>&1); then
        check "$(basename "$file")" "YAML" "$listing"
        continue
    fi
    type=$(value "$listing" ManifestType)
    FILE[$type]=$file
    FIELDS[$type]=$listing
done
for type in version installer defaultLocale; do
    check "a manifest of type $type" yes "$([ -n "${FILE[$type]:-}" ] && echo yes || echo no)"
done
[ ${#FILE[@]} -eq 3 ] || finish
cp -r "$MANIFESTS" "$HOLD/written"

for type in version installer defaultLocale; do
    begin "$type manifest: the $SCHEMA schema"
    listing=${FIELDS[$type]}
    check "first line" \
        "# yaml-language-server: \$schema=https://aka.ms/winget-manifest.$type.$SCHEMA.schema.json" \
        "$(head -1 "${FILE[$type]}")"
    for field in ${REQUIRED[$type]}; do
        check "required $field" present "$([ "$(value "$listing" "$field")" != "(absent)" ] &&
            echo present || echo absent)"
    done
    while IFS=$'\t' read -r path kind found; do
        check "$path" allowed "$(judge "$type" "$path" "$kind" "$found")"
    done <<<"$listing"
done

begin "the release in the manifests"
check "file names" "$(printf '%s\n' "$IDENTIFIER".{yaml,installer.yaml,locale."$LOCALE".yaml} | sort |
    paste -sd' ')" "$(ls "$MANIFESTS" | sort | paste -sd' ')"
for type in version installer defaultLocale; do
    check "PackageIdentifier of the $type manifest" "$IDENTIFIER" "$(value "${FIELDS[$type]}" PackageIdentifier)"
    check "PackageVersion of the $type manifest" "$VERSION" "$(value "${FIELDS[$type]}" PackageVersion)"
done
check "DefaultLocale" "$LOCALE" "$(value "${FIELDS[version]}" DefaultLocale)"
check "PackageLocale" "$LOCALE" "$(value "${FIELDS[defaultLocale]}" PackageLocale)"
check "Publisher, as in the uninstall entry" "$(cpack_value CPACK_PACKAGE_VENDOR)" \
    "$(value "${FIELDS[defaultLocale]}" Publisher)"
check "PackageName, as in the uninstall entry" "$(cpack_value CPACK_NSIS_DISPLAY_NAME)" \
    "$(value "${FIELDS[defaultLocale]}" PackageName)"

begin "the release's installers"
listing=${FIELDS[installer]}
expected=$(
    for architecture in x64 x86; do
        for scope in machine user; do echo "$architecture nullsoft $scope $SETUP"; done
    done
    for msi in "$PACKAGES"/*.msi; do
        [ -e "$msi" ] || continue
        architecture=${msi##*-}
        echo "${architecture%.msi} msi machine ${msi##*/}"
    done
)
expected=$(sort <<<"$expected")
mapfile -t installers < <(awk -F'\t' '$1 ~ /^Installers\.[0-9]+\./ { split($1, path, "."); print path[2] }' \
    <<<"$listing" | sort -nu)
found=$(for i in "${installers[@]}"; do
    address=$(value "$listing" "Installers.$i.InstallerUrl")
    echo "$(value "$listing" "Installers.$i.Architecture") $(value "$listing" "Installers.$i.InstallerType")" \
        "$(value "$listing" "Installers.$i.Scope") ${address##*/}"
done | sort)
check "architecture, type, scope and file of each" "${expected//$'\n'/; }" "${found//$'\n'/; }"
for i in "${installers[@]}"; do
    for field in $INSTALLER_REQUIRED; do
        check "installer $i: required $field" present \
            "$([ "$(value "$listing" "Installers.$i.$field")" != "(absent)" ] && echo present || echo absent)"
    done
    address=$(value "$listing" "Installers.$i.InstallerUrl")
    file=${address##*/}
    scope=$(value "$listing" "Installers.$i.Scope")
    check "installer $i: address" "$URL$file" "$address"
    check "installer $i: SHA-256 of $file" "$(sha256 "$PACKAGES/$file")" \
        "$(value "$listing" "Installers.$i.InstallerSha256" | upper)"
    # The installer's fields beyond the address, one line each, a list's in one.
    given=$(awk -F'\t' -v prefix="Installers.$i." 'index($1, prefix) == 1 {
            field = substr($1, length(prefix) + 1)
            if (field ~ /^(Architecture|InstallerType|Scope|InstallerUrl|InstallerSha256)$/) next
            sub(/\.[0-9]+$/, "", field)
            if (field in values) values[field] = values[field] " " $3
            else { values[field] = $3; order[++n] = field } }
        END { for (k = 1; k <= n; k++) print order[k] ": " values[order[k]] }' <<<"$listing")
    case $(value "$listing" "Installers.$i.InstallerType") in
    nullsoft)
        mode=/AllUsers elevation=elevationRequired
        [ "$scope" = user ] && mode=/CurrentUser elevation=elevatesSelf
        expected="InstallerSwitches.Silent: /S
InstallerSwitches.SilentWithProgress: /S
InstallerSwitches.Custom: $mode
ProductCode: $(cpack_value CPACK_PACKAGE_INSTALL_REGISTRY_KEY)
ElevationRequirement: $elevation
ExpectedReturnCodes.0.InstallerReturnCode: $(cpack_value CPACK_PLOVIX_EXIT_IN_USE)
ExpectedReturnCodes.0.ReturnResponse: packageInUse
ExpectedReturnCodes.1.InstallerReturnCode: $(cpack_value CPACK_PLOVIX_EXIT_OTHER_MODE)
ExpectedReturnCodes.1.ReturnResponse: alreadyInstalled"
        ;;
    msi)
        properties=$(msiinfo export "$PACKAGES/$file" Property 2>&1 | tr -d '\r')
        expected="ProductCode: $(sed -n 's/^ProductCode\t//p' <<<"$properties")
AppsAndFeaturesEntries.0.UpgradeCode: $(sed -n 's/^UpgradeCode\t//p' <<<"$properties")"
        [[ $file == *-x86.msi ]] && expected+=$'\nUnsupportedOSArchitectures: x64 arm64'
        ;;
    esac
    check "installer $i: the fields of $(value "$listing" "Installers.$i.InstallerType") for scope $scope" \
        "$(sort <<<"$expected" | paste -sd';')" "$(sort <<<"$given" | paste -sd';')"
done

begin "the address without its trailing slash"
write_manifests "${URL%/}"
check "exit code" 0 "$code"
check "manifests alike" same "$(diff -r "$HOLD/written" "$MANIFESTS" >/dev/null 2>&1 && echo same ||
    echo different)"

# Each run removes the manifests of an earlier one first.
present() { if [ -e "$MANIFESTS" ]; then ls "$MANIFESTS" | paste -sd' '; else echo "(none)"; fi; }

begin "an installer of the release missing"
mv "$PACKAGES/$SETUP" "$HOLD/"
write_manifests "$URL"
mv "$HOLD/$SETUP" "$PACKAGES/"
check "exit code" failed "$([ "$code" -ne 0 ] && echo failed || echo "$code")"
# The step's own error, its lines that CMake wrapped joined; Ninja's echo of
# the command names the installer too.
check "the error names $SETUP" "No winget manifests: $PACKAGES lacks the release's $SETUP" \
    "$(sed -n '/^CMake Error/,/^$/s/^  //p' <<<"$output" | paste -sd' ')"
check "manifests" "(none)" "$(present)"

begin "no release address"
cp -r "$HOLD/written" "$MANIFESTS"
write_manifests
check "exit code" 0 "$code"
check "says so, naming PLOVIX_RELEASE_URL" yes \
    "$(grep -q 'No winget manifests: .*PLOVIX_RELEASE_URL' <<<"$output" && echo yes || echo "no: $output")"
check "manifests" "(none)" "$(present)"

finish
