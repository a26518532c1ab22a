#!/usr/bin/env bash
# Compiles the Windows resources the way a MinGW build does and reads the compiled record
# back. Explorer shows these values under Properties > Details, and shows none of them when
# the language block and the translation entry disagree.
# Usage: windows-version.sh RC_FILE PREPROCESSOR MAJOR MINOR SHOWN   (the project's version
#   numbers, and the version as Windows shows it, with two minor digits)
set -euo pipefail
rc=$1
preprocessor=$2
major=$3 minor=$4 shown=$5

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# windres would look for x86_64-w64-mingw32-gcc to preprocess; the host compiler does the
# same job for a file that includes no Windows headers.
x86_64-w64-mingw32-windres \
    --preprocessor="$preprocessor" --preprocessor-arg=-E --preprocessor-arg=-xc \
    --preprocessor-arg=-DRC_INVOKED \
    -i "$rc" -O res -o "$work/pelagrin.res"
x86_64-w64-mingw32-windres -i "$work/pelagrin.res" -O rc -o "$work/compiled.rc"

status=0
while IFS= read -r line; do
    grep -qxF -- "$line" <(sed 's/^ *//; s/[[:space:]]*\/\*.*//' "$work/compiled.rc") ||
        { echo "FAIL: not in the compiled resources: $line"; status=1; }
done <<EXPECTED
FILEVERSION $major, $minor, 0, 0
PRODUCTVERSION $major, $minor, 0, 0
FILETYPE 0x1
BLOCK "040904b0"
VALUE "Translation", 0x409, 1200
VALUE "FileVersion", "$shown"
VALUE "ProductVersion", "$shown"
VALUE "FileDescription", "Calculates EAD, MOD, PPO2 etc."
VALUE "Comments", "Equivalent Air Depth and Nitrox Calculator"
VALUE "ProductName", "Pelagrin"
VALUE "OriginalFilename", "pelagrin.exe"
"IDI_ICON1" 14
0, 1, 8,
"\040\040\000\000", 1, 8, 0x8a8L, 4,
EXPECTED

if [ "$status" -ne 0 ]; then
    echo "--- the compiled resources, without the icon's pixels:"
    grep -v '^  0x' "$work/compiled.rc"
fi
exit "$status"
