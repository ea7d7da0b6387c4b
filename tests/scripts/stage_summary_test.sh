#!/usr/bin/env bash
# The test command's summary: a stage that could not run, or ran only part of its work, is never
# counted as passed; and the Windows suites report a wine that cannot run as not run (win32) or
# failed (win64), never as passed.
#   stage_summary_test.sh REPOSITORY
set -uo pipefail
repo=${1:?usage: stage_summary_test.sh REPOSITORY}
failures=0
expect() {  # expect DESCRIPTION CONDITION...
    local what=$1
    shift
    if "$@"; then echo "ok: $what"; else echo "FAIL: $what"; failures=$((failures + 1)); fi
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Four stages, one of each outcome; the summary names each and fails only for the failure.
(
    source "$repo/scripts/lib/stages.bash"
    stage "all of it" true
    stage "none of it" bash -c 'exit 77'
    stage "part of it" bash -c "source '$repo/scripts/lib/stages.bash'; not_run 'win32 validate' 'no 32-bit wine'"
    stage "broken" false
    stage_summary
) >"$work/mixed" 2>&1
mixed_status=$?
summary=$(sed -n '/^=== summary/,$p' "$work/mixed")
expect "a failed stage fails the summary" test "$mixed_status" -ne 0
expect "passed" grep -Eq '^  all of it +passed ' <<<"$summary"
expect "not run" grep -Eq '^  none of it +not run ' <<<"$summary"
expect "partly run, with what and why" grep -Eq '^  part of it +partly run ' <<<"$summary"
expect "the part not run is named" grep -q 'not run here: win32 validate: no 32-bit wine' <<<"$summary"
expect "FAILED" grep -Eq '^  broken +FAILED ' <<<"$summary"
expect "counted: one passed" grep -q '^stages: 1 passed, 1 failed, 2 not run or partly run;' <<<"$summary"
(
    source "$repo/scripts/lib/stages.bash"
    stage "none of it" bash -c 'exit 77'
    stage_summary
) >/dev/null 2>&1
expect "a stage not run does not fail the run" test $? -eq 0

# A Windows tree whose wine cannot start a program: a wine that fails as the 32-bit loader does
# on a kernel without 32-bit support.
mkdir -p "$work/bin" "$work/build/win32" "$work/build/win64"
printf '#!/bin/sh\necho "cannot execute binary file: Exec format error" >&2\nexit 126\n' >"$work/bin/wine"
printf '#!/bin/sh\nexit 1\n' >"$work/bin/wineserver"
chmod +x "$work/bin/wine" "$work/bin/wineserver"
for tree in win32 win64; do
    printf 'QEV_WINE_PREFIX:PATH=%s\nQEV_WINE_LOADER:STRING=%s\n' "$work/prefix-$tree" \
        "$work/bin/wine" >"$work/build/$tree/CMakeCache.txt"
    BUILD_ROOT=$work/build PATH=$work/bin:$PATH QEV_NOT_RUN=$work/notes-$tree \
        "$repo/scripts/wine-ctest" "$tree" >"$work/out-$tree" 2>&1
    echo $? >"$work/status-$tree"
done
expect "win32 without a 32-bit wine: not run" test "$(cat "$work/status-win32")" -eq 77
expect "win32: the reason is recorded" grep -q 'win32 tests: the 32-bit wine cannot run programs here (.*Exec format error)' "$work/notes-win32"
expect "win64 without wine: failed" test "$(cat "$work/status-win64")" -eq 1
((failures == 0))
