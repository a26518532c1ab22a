#!/usr/bin/env bash
# The released Linux program keeps the protections a Debian package gets, as Debian's own
# checksec reads them: full RELRO (the GOT read-only once the libraries are bound), a stack
# canary, a non-executable stack, position independence, and no RPATH. Its RUNPATH may only
# name its own folder tree (library_paths.sh).
# FORTIFY is compiled in, but checksec counts it only where a call into the C library has a
# size the compiler can check; the calculator's few such calls copy run-time lengths inside
# the C++ library, so checksec has nothing to count and is not asked.
# Usage: checksec.sh PROGRAM
set -euo pipefail
program=$1

report=$(checksec --output=json --file="$program")
status=0
while read -r field want why; do
    got=$(grep -o "\"$field\":\"[^\"]*\"" <<<"$report" | cut -d'"' -f4)
    [ "$got" = "$want" ] || { echo "FAIL: $program: $field is '$got', not '$want' ($why)"; status=1; }
done <<'TABLE'
relro  full the GOT is read-only after start-up
canary yes  a stack canary
nx     yes  no executable stack
pie    yes  loaded at a random address
rpath  no   no RPATH, which would reach the libraries' own searches too
TABLE
bash "$(dirname "$0")/library_paths.sh" "$program" >/dev/null || {
    bash "$(dirname "$0")/library_paths.sh" "$program"
    status=1
}
[ "$status" -eq 0 ] && echo "PASS: $program: full RELRO, canary, NX, PIE, library paths from \$ORIGIN only"
exit "$status"
