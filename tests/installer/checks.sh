# Shared by the installer tests still in bash, as installer_checks.py is by
# those in Python: the checks they count, and what they read of the packages
# and of a Wine prefix; it reads the win64 build's displays and timeouts too.
# Source it after environment.sh, from the project's root, with CHECKS naming
# the test in its log lines; `loader` is the Wine loader of the prefix in use.

plovix_use_build build/win64
# A value of the packages' own settings.
cpack_value() { sed -n "s/^set($1 \"\(.*\)\")\$/\1/p" build/win64/CPackConfig.cmake; }

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

# reg_query KEY [SWITCH...]: what reg prints, or "(absent)" where reg says
# the key or value does not exist; where reg itself fails, its failure,
# which no expected value matches.
reg_query() {
    local output code=0
    output=$("$loader" reg query "$@" 2>&1 | tr -d '\r') || code=$?
    if [ $code -ne 0 ] && grep -q 'nable to find the specified registry' <<<"$output"; then
        output="(absent)"
    elif [ $code -ne 0 ]; then
        output="(reg failed, exit code $code: $(head -c 160 <<<"$output" | tr '\n' ' '))"
    fi
    printf '%s\n' "$output"
}
# reg_value KEY NAME: the value's data, "(absent)" or reg's failure.
reg_value() {
    reg_query "$1" /v "$2" | sed -n -e '/^(/p' -e "s/^ *$2 \{2,\}REG_[A-Z_]* \{2,\}//p"
}
# key_change KEY BEFORE: "unchanged" where the key and its subkeys read as
# BEFORE, key_state's output then; else the lines that differ, or reg's
# failure.
key_state() { reg_query "$1" /s; }
key_change() {
    local now
    now=$(key_state "$1")
    if [[ $now == "(reg failed"* ]]; then
        echo "$now"
    elif [ "$now" = "$2" ]; then
        echo unchanged
    else
        diff <(printf '%s\n' "$2") <(printf '%s\n' "$now") | grep '^[<>]' | tr '\n' ' ' || true
    fi
}

# Whether a file carries a signature made with PLOVIX_TEST_SIGNER.
signature() {
    osslsigncode verify -CAfile "$PLOVIX_TEST_SIGNER" -in "$1" >/dev/null 2>&1 &&
        echo "signed" || echo "not signed by the test signer"
}

# What a path holds: which of the archive's savers (unpacked into
# RELEASED), another file, or nothing.
file_state() {
    if [ ! -e "$1" ]; then
        echo "(absent)"
    elif cmp -s "$1" "$RELEASED/$(cpack_value CPACK_PLOVIX_SAVER_32)"; then
        echo "the 32-bit saver"
    elif cmp -s "$1" "$RELEASED/$(cpack_value CPACK_PLOVIX_SAVER_64)"; then
        echo "the 64-bit saver"
    else
        echo "another file"
    fi
}
