#!/usr/bin/env bash
# The hardening checks, after `scripts/setup.sh test` has installed the tools:
#   1. static analysis: clang-tidy (.clang-tidy) and cppcheck over the project's sources;
#   2. the whole test suite built and run under AddressSanitizer and UBSan (asan preset);
#   3. the libFuzzer target built (fuzz preset) and run for a bounded time.
# Exits non-zero on the first failure.
#
# FUZZ_SECONDS sets how long the fuzzer runs (default 60); 0 only replays the corpus. What the
# fuzzer learns is kept in build/fuzz/corpus, so later runs go on from there; an input that
# breaks a check is saved in build/fuzz/artifacts/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

fuzz_seconds=${FUZZ_SECONDS:-60}
if ! [[ $fuzz_seconds =~ ^[0-9]+$ ]]; then
    echo "FUZZ_SECONDS must be a whole number of seconds, not '$fuzz_seconds'" >&2
    exit 2
fi
jobs=$(nproc)

step() {
    printf '\n== %s  (%d s in)\n' "$*" "$SECONDS"
}

# The project's own sources: the product, its tests, the fuzzer and the benchmarks.
source_dirs=(core log ui tests fuzz bench)
dir_pattern=$(IFS='|'; echo "${source_dirs[*]}")

# Sources of `dirs` listed in the compile database of build/$1.
sources_in() {
    local build=$1
    shift
    local pattern
    pattern=$(IFS='|'; echo "$*")
    grep -o '"file": "[^"]*"' "build/$build/compile_commands.json" | cut -d'"' -f4 |
        grep -E "^$root/($pattern)/" | sort -u || true
}

# clang-tidy over the sources of build/$1 in directories $2...; every warning is an error.
tidy() {
    local build=$1
    shift
    local files
    files=$(sources_in "$build" "$@")
    if [ -z "$files" ]; then
        return 0
    fi
    echo "clang-tidy ($build): $(echo "$files" | wc -l) files"
    local log="build/$build/clang-tidy.log" status=0
    echo "$files" | xargs -P "$jobs" -n 1 clang-tidy -p "build/$build" --quiet \
        --warnings-as-errors='*' --header-filter="/($dir_pattern)/[^/]+\.h$" \
        >"$log" 2>&1 || status=$?
    # Everything but the per-file tallies of what was filtered out.
    grep -v -E '^[0-9]+ (warning|error)s? (and [0-9]+ (warning|error)s? )?generated\.$' "$log" || true
    return "$status"
}

step "Compile databases"
# The debug build also generates Qt's moc and uic headers that the window's sources include.
cmake --preset debug >/dev/null
cmake --build --preset debug
cmake --preset fuzz >/dev/null
cmake --preset bench >/dev/null

step "clang-tidy"
tidy debug core log ui tests
tidy fuzz fuzz
tidy bench bench

step "cppcheck"
# missingIncludeSystem: the standard, Qt and test framework headers are left out on purpose;
#   cppcheck knows the standard library, Qt and GoogleTest (--library) by its own configuration.
# unusedStructMember in tests/: cppcheck does not follow a test's records through the
#   containers that collect them, and flags fields the assertions read.
cppcheck --enable=warning,performance,portability,style --error-exitcode=1 --inline-suppr \
    --std=c++20 --language=c++ --library=qt --library=googletest \
    -I . -I tests -I build/debug/generated -j "$jobs" --quiet \
    --suppress=missingIncludeSystem --suppress='unusedStructMember:tests/*' \
    "${source_dirs[@]}"

step "Tests under AddressSanitizer and UBSan"
cmake --preset asan >/dev/null
cmake --build --preset asan
ctest --preset asan -j "$jobs"

step "Fuzzing Calculate, the number formats and the log record for ${fuzz_seconds} s"
cmake --build --preset fuzz
mkdir -p build/fuzz/corpus build/fuzz/artifacts
fuzz_log=build/fuzz/fuzz.log
fuzz_args=(-dict=fuzz/calculate_fuzzer.dict -max_len=4096 -timeout=10
           -artifact_prefix=build/fuzz/artifacts/ -print_final_stats=1)
if [ "$fuzz_seconds" -eq 0 ]; then
    fuzz_args+=(-runs=0)
else
    fuzz_args+=(-max_total_time="$fuzz_seconds")
fi
if ! build/fuzz/fuzz/calculate_fuzzer "${fuzz_args[@]}" build/fuzz/corpus fuzz/corpus \
        >"$fuzz_log" 2>&1; then
    grep -v -E '^#[0-9]+' "$fuzz_log" | tail -n 60
    echo
    grep -E '^\*\*\* |ERROR: |SUMMARY: ' "$fuzz_log" || true
    echo "The fuzzer found a fault; the input is in build/fuzz/artifacts/ (log: $fuzz_log)." >&2
    exit 1
fi
grep -E '^(#[0-9]+\s+DONE|stat::number_of_executed_units|stat::new_units_added)' "$fuzz_log" || true

step "All checks passed"
