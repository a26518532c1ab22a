#!/usr/bin/env bash
# Static analysis, after `scripts/setup.sh test` has installed the tools: clang-tidy
# (.clang-tidy) and cppcheck over the project's sources. Exits non-zero on the first failure.
# The tests themselves, the sanitizer build and the fuzzers included, are CTest tests
# (scripts/test.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=$(nproc)

step() {
    printf '\n== %s  (%d s in)\n' "$*" "$SECONDS"
}

# The project's own sources: the product, its tests, the fuzzer and the benchmarks.
source_dirs=(core log platform ui tests fuzz bench)
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
# The debug build also generates Qt's moc and uic headers that the window's sources include;
# it builds the fuzz targets too, with their replaying main.
cmake --preset debug >/dev/null
cmake --build --preset debug
cmake --preset bench >/dev/null

step "clang-tidy"
tidy debug core log ui tests fuzz
tidy bench bench

step "cppcheck"
# missingIncludeSystem: the standard, Qt and test framework headers are left out on purpose;
#   cppcheck knows the standard library, Qt and GoogleTest (--library) by its own configuration.
# unusedStructMember in tests/: cppcheck does not follow a test's records through the
#   containers that collect them, and flags fields the assertions read.
# normalCheckLevelMaxBranches: cppcheck 2.17's note that it follows fewer branches than
#   --check-level=exhaustive would (an option cppcheck 2.10 does not have); not a finding.
cppcheck --enable=warning,performance,portability,style --error-exitcode=1 --inline-suppr \
    --std=c++20 --language=c++ --library=qt --library=googletest \
    -I . -I tests -I build/debug/generated -j "$jobs" --quiet \
    --suppress=missingIncludeSystem --suppress='unusedStructMember:tests/*' \
    --suppress=normalCheckLevelMaxBranches \
    "${source_dirs[@]}"

step "All checks passed"
