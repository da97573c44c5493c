# Shared by the tests of the release packages: the checks they count, and
# what they read of the packages and of a Wine prefix; it reads the win64
# build's displays and timeouts too. Source it after environment.sh, from
# the project's root, with CHECKS naming the test in its log lines; `loader`
# is the Wine loader of the prefix in use.

CPACK_CONFIG=build/win64/CPackConfig.cmake
plovix_use_build build/win64
# A value of the packages' own settings.
cpack_value() { sed -n "s/^set($1 \"\(.*\)\")\$/\1/p" "$CPACK_CONFIG"; }

passed=0
failed=0
group=
begin() {
    group=$1
    plovix_log "$CHECKS: $group"
}
# check WHAT EXPECTED FOUND
check() {
    if [ "$2" = "$3" ]; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        printf 'FAILED %s: %s\n    expected: %s\n    found:    %s\n' "$group" "$1" "$2" "$3"
    fi
}
# The last line, "N passed, N failed", and the exit code: non-zero when a
# check failed.
finish() {
    echo "$passed passed, $failed failed"
    exit $((failed > 0))
}

# A Windows program's exit code as Linux sees it, the low byte (1603 is 67).
exit_code() { echo $(($1 % 256)); }

# reg_value KEY NAME: the value's data, or "(absent)".
reg_value() {
    local output
    output=$("$loader" reg query "$1" /v "$2" 2>/dev/null | tr -d '\r') || {
        echo "(absent)"
        return
    }
    sed -n "s/^ *$2 \{2,\}REG_[A-Z_]* \{2,\}//p" <<<"$output"
}

# Whether a file carries a signature made with PLOVIX_TEST_SIGNER.
signature() {
    osslsigncode verify -CAfile "$PLOVIX_TEST_SIGNER" -in "$1" >/dev/null 2>&1 &&
        echo "signed" || echo "not signed by the test signer"
}

# file_state PATH [FILE NAME]: what a path holds: which of the archive's
# savers (unpacked into RELEASED), FILE (told as NAME), another file, or
# nothing.
file_state() {
    if [ ! -e "$1" ]; then
        echo "(absent)"
    elif cmp -s "$1" "$RELEASED/$(cpack_value CPACK_PLOVIX_SAVER_32)"; then
        echo "the 32-bit saver"
    elif cmp -s "$1" "$RELEASED/$(cpack_value CPACK_PLOVIX_SAVER_64)"; then
        echo "the 64-bit saver"
    elif [ $# -ge 3 ] && cmp -s "$1" "$2"; then
        echo "$3"
    else
        echo "another file"
    fi
}
