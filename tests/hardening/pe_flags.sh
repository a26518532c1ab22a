#!/usr/bin/env bash
# The Windows program keeps what the system needs to protect it, as objdump reads its header:
# a random base (ASLR), with the high-entropy 64-bit range, and no executable data (NX). Its
# header asks for Windows 10, so an older Windows refuses it plainly. It imports system DLLs
# alone, so there is nothing the folder it was unpacked into could stand in for. The process
# enters at ProgramStart, which restricts where DLLs come from before any constructor runs,
# and its frames carry a canary of the program's own, filled without CryptoAPI (which would
# load DLLs by name before that restriction).
# Usage: pe_flags.sh OBJDUMP NM PROGRAM
set -euo pipefail
objdump=$1 nm=$2 program=$3

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

! grep -qE '^\s+[0-9a-f]+\s+[0-9]+\s+Crypt' <<<"$header" || fail "imports CryptoAPI"

symbols=$("$nm" "$program")
symbol() { awk -v name="$1" '$3 == name { print $2 " " $1 }' <<<"$symbols"; }
entry=$(awk '$1 == "AddressOfEntryPoint" { print $2 }' <<<"$header")
base=$(awk '$1 == "ImageBase" { print $2 }' <<<"$header")
[ "$(symbol ProgramStart)" = "T $(printf '%016x' $((16#$base + 16#$entry)))" ] ||
    fail "the process does not enter at ProgramStart"
[[ "$(symbol __stack_chk_guard)" == [DB]\ * ]] || fail "no stack canary of its own"
[ -n "$(symbol .refptr.__stack_chk_guard)" ] || fail "no frame checks the stack canary"
[[ "$(symbol __stack_chk_fail)" == T\ * ]] || fail "no check of the stack canary"

[ "$status" -eq 0 ] && echo "PASS: $program: ASLR (high entropy), NX, Windows 10 header, system DLLs only, enters at ProgramStart, own stack canary"
exit "$status"
