#!/usr/bin/env bash
# Runs every fuzz target for a while over its seed corpus and prints what
# each did. Usage: tests/fuzz/run.sh <build dir> <seconds per target> [target...]
# The corpus each run grows is kept in <build dir>/fuzz-corpus/<target>; an
# input that fails a target is saved in <build dir>/fuzz-findings/ and makes
# this script fail.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
seconds=$2
shift 2
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=(fuzz_integer fuzz_status_reply fuzz_registry_file fuzz_mods_text
                                     fuzz_command_line fuzz_wine_registry)

export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
mkdir -p "$build/fuzz-findings"
failed=0
printf '%-20s %12s %10s %8s\n' target executions exec/s seconds
for t in "${targets[@]}"; do
    corpus="$build/fuzz-corpus/$t"
    mkdir -p "$corpus"
    log="$build/fuzz-findings/$t.log"
    if "$build/bin/$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$build/fuzz-findings/$t-" \
        "$corpus" "$here/corpus/$t" >"$log" 2>&1; then
        status=
    else
        status=FAILED
        failed=1
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    elapsed=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log")
    printf '%-20s %12s %10s %8s %s\n' "$t" "${runs:-?}" "${rate:-?}" "${elapsed:-?}" "$status"
    [ -n "$status" ] && tail -n 40 "$log"
done
exit $failed
