#!/usr/bin/env bash
# The Windows program keeps what the system needs to protect it, as objdump reads its header:
# a random base (ASLR), with the high-entropy 64-bit range, and no executable data (NX). Its
# header asks for Windows 10, so an older Windows refuses it plainly. It imports system DLLs
# alone, so there is nothing the folder it was unpacked into could stand in for.
# Usage: pe_flags.sh OBJDUMP PROGRAM
set -euo pipefail
objdump=$1 program=$2

header=$("$objdump" -p "$program")
status=0
fail() { echo "FAIL: $program: $*"; status=1; }

for flag in HIGH_ENTROPY_VA DYNAMIC_BASE NX_COMPAT; do
    grep -qw "$flag" <<<"$header" || fail "DllCharacteristics lacks $flag"
done
for field in MajorOSystemVersion MajorSubsystemVersion; do
    value=$(awk -v f="$field" '$1 == f { print $2 }' <<<"$header")
    [ "$value" = 10 ] || fail "$field is $value, not 10"
done
# Wine's own builds of the Windows DLLs: the system's, as opposed to a runtime's.
system_dlls=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows
while read -r dll; do
    [ -f "$system_dlls/${dll,,}" ] || fail "imports $dll, which is no system DLL"
done < <(sed -n 's/^\s*DLL Name: //p' <<<"$header")

[ "$status" -eq 0 ] && echo "PASS: $program: ASLR (high entropy), NX, Windows 10 header, system DLLs only"
exit "$status"
