#!/bin/bash
# Prints what a Windows executable imports, one "dll function" line each (DLL names in lower case),
# sorted, read from its import tables with the mingw-w64 objdump.
# Usage: list_imports.sh EXE
set -euo pipefail
export LC_ALL=C  # objdump's own words, untranslated
exe=$1
objdump=x86_64-w64-mingw32-objdump
command -v "$objdump" >/dev/null || objdump=i686-w64-mingw32-objdump
"$objdump" -p "$exe" | awk '
    /^The Import Tables/ { inside = 1; next }
    /^The / && inside { inside = 0 }
    !inside { next }
    /DLL Name:/ { dll = tolower($3); next }
    /Hint\/Ord/ { next }
    dll != "" && /^\t[0-9a-f]+\t/ {
        # "vma <tab> hint name" by name, or "vma <tab> ordinal" by ordinal only
        if (NF >= 3) print dll, $3; else print dll, "#" $2
    }
' | sort -u
