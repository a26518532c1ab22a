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

# clang-tidy (.clang-tidy: every finding an error, the project's headers included) over the
# sources in build/$1's compile database that lie in the directories $2...
tidy() {
    local build=$1 pattern
    shift
    pattern=$(IFS='|'; echo "$*")
    local log="build/$build/clang-tidy.log" status=0
    run-clang-tidy -p "build/$build" -j "$jobs" -quiet "^$root/($pattern)/" >"$log" 2>&1 ||
        status=$?
    # All but the tallies of what the header filter left out.
    grep -v -E '^[0-9]+ warnings? generated\.$' "$log" || true
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
