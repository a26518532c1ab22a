#!/usr/bin/env bash
# No program or library that the build made may have the loader search the current folder:
# the loader reads an empty RUNPATH or RPATH entry, and any relative one, against wherever
# the diver happens to start the program, so a library planted there would be loaded.
# Every entry must be absolute or start from $ORIGIN, the folder of the file itself.
# Usage: library_paths.sh FOLDER...   (every ELF file under each folder is read)
set -euo pipefail

status=0
checked=0
while IFS= read -r -d '' file; do
    [ "$(head -c 4 "$file" | od -An -c | tr -d ' ')" = '177ELF' ] || continue
    checked=$((checked + 1))
    while read -r tag paths; do
        # An empty list, or an empty or relative entry anywhere in it.
        IFS=: read -r -a entries <<<"$paths:"
        [ -n "$paths" ] || entries=("")
        for entry in "${entries[@]}"; do
            case $entry in
                /* | '$ORIGIN' | '$ORIGIN/'* | '${ORIGIN}' | '${ORIGIN}/'*) ;;
                *) echo "FAIL: $file: $tag [$paths] has the entry '$entry'"; status=1; break ;;
            esac
        done
    done < <(readelf -d "$file" 2>/dev/null |
             sed -n 's/.*(\(RUNPATH\|RPATH\)).*path: \[\(.*\)\]$/\1 \2/p')
done < <(find "$@" -type f -print0)

[ "$checked" -gt 0 ] || { echo "FAIL: no ELF file under $*"; exit 1; }
[ "$status" -eq 0 ] && echo "PASS: $checked ELF files, no empty or relative library path"
exit "$status"
