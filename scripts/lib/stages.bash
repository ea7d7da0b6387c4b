# Runs test stages and sums them up; sourced by scripts/test-all.
#   stage NAME COMMAND...   runs one stage, times it and records how it ended
#   stage_summary           prints every stage with its result and time; fails if one failed
# A stage passes with exit code 0. Exit code 77 means it could not run here at all. A stage that
# could not run some part of its work appends one line per part, "WHAT: REASON", to the file
# named by QEV_NOT_RUN; it then counts as partly run, not as passed, even with exit code 0.

stage_names=()
stage_results=()
stage_times=()
stage_notes=()

stage() {
    local name=$1
    shift
    local notes start status result
    notes=$(mktemp)
    start=$SECONDS
    echo "=== $name"
    QEV_NOT_RUN=$notes "$@"
    status=$?
    if ((status == 77)); then
        result="not run"
    elif ((status != 0)); then
        result=FAILED
    elif [[ -s $notes ]]; then
        result="partly run"
    else
        result=passed
    fi
    stage_names+=("$name")
    stage_results+=("$result")
    stage_times+=("$((SECONDS - start))")
    stage_notes+=("$(sed 's/^/      not run here: /' "$notes")")
    rm -f "$notes"
    echo "=== $name: $result in $((SECONDS - start)) s"
}

stage_summary() {
    local i passed=0 failed=0 other=0
    echo "=== summary"
    for i in "${!stage_names[@]}"; do
        printf '  %-22s %-11s %5s s\n' "${stage_names[i]}" "${stage_results[i]}" "${stage_times[i]}"
        [[ -z ${stage_notes[i]} ]] || echo "${stage_notes[i]}"
        case ${stage_results[i]} in
            passed) passed=$((passed + 1)) ;;
            FAILED) failed=$((failed + 1)) ;;
            *) other=$((other + 1)) ;;
        esac
    done
    echo "stages: $passed passed, $failed failed, $other not run or partly run;" \
        "$((SECONDS / 60)) min $((SECONDS % 60)) s in all"
    ((failed == 0))
}

# not_run WHAT REASON: records, for the stage running now, a part it could not run.
not_run() {
    echo "not run here: $1: $2"
    if [[ -n ${QEV_NOT_RUN:-} ]]; then
        echo "$1: $2" >>"$QEV_NOT_RUN"
    fi
}

# The tests that check which exception a crashing 32-bit Windows program reports: under qemu-i386
# wine's 32-bit loader reports every fault as an illegal instruction (the emulator gives its signal
# handler no trap number), so they cannot pass there; the same checks run on the other trees.
wine32_fault_tests='CliCrash.OneLineNamesTheEntryPoint validate_catches_crash'
wine32_fault_reason="under qemu-i386 wine's 32-bit loader reports every fault as an illegal \
instruction (no trap number in the emulated signal frame); they run on the other trees"

# True where 32-bit programs run only through qemu-i386.
wine32_emulated() {
    [[ $("$(dirname "${BASH_SOURCE[0]}")/../i386-binfmt" status 2>/dev/null) == emulated ]]
}
