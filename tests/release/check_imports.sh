#!/bin/bash
# Fails when an executable could not start on the stated minimum Windows: an import off the reviewed list,
# a newer PE subsystem version, or manifest supportedOS entries that do not start at that version.
# Usage: check_imports.sh ARCH EXE     (ARCH: win64 or win32)
#        check_imports.sh --list EXE   prints what EXE imports, one "dll function" line each, sorted
set -euo pipefail
export LC_ALL=C  # objdump's own words, untranslated
objdump=x86_64-w64-mingw32-objdump
command -v "$objdump" >/dev/null || objdump=i686-w64-mingw32-objdump
imports() { # from the import tables: "vma <tab> hint name" by name, or "vma <tab> ordinal" by ordinal only
    "$objdump" -p "$1" | awk '/^The Import Tables/ { inside = 1; next } /^The / && inside { inside = 0 }
        !inside { next } /DLL Name:/ { dll = tolower($3); next } /Hint\/Ord/ { next }
        dll != "" && /^\t[0-9a-f]+\t/ { if (NF >= 3) print dll, $3; else print dll, "#" $2 }' | sort -u
}
[ "$1" = --list ] && { imports "$2"; exit 0; }
arch=$1 exe=$2
here=$(cd "$(dirname "$0")" && pwd)
list="$here/imports-$arch.txt"
[ -f "$list" ] && [ -f "$exe" ] || { echo "no import list $list or no executable $exe" >&2; exit 2; }
# The list's header names the minimum: "# minimum: Windows Vista". Each version from it on: its NT version
# (for the PE subsystem version) and its supportedOS identifier.
minimum=$(sed -n 's/^# minimum: *//p' "$list")
versions="Windows Vista=6.0=e2011457-1546-43c5-a5fe-008deee3d3f0
Windows 7=6.1=35138b9a-5d96-4fbd-8e2d-a2440225f93a
Windows 8=6.2=4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38
Windows 8.1=6.3=1f676c76-80e1-4239-95bb-83d0f6d0da78
Windows 10=10.0=8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"
nt=$(awk -F= -v m="$minimum" '$1 == m { print $2 }' <<<"$versions")
[ -n "$nt" ] || { echo "$list: unknown minimum \"$minimum\"" >&2; exit 2; }
wanted=$(awk -F= -v m="$minimum" '$1 == m { on = 1 } on { print $3 }' <<<"$versions" | sort)

failures=0; fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
new=$(comm -23 <(imports "$exe") <(grep -v '^#' "$list" | awk 'NF { print $1, $2 }' | sort -u))
if [ -n "$new" ]; then
    fail "$(basename "$exe") ($arch) imports functions that are not on $list:"
    sed 's/^/    /' <<<"$new"
    echo "  Add each one whose documented minimum is $minimum or older; avoid the others, or raise the stated minimum knowingly."
fi
# The loader refuses an image whose subsystem version is newer than the system.
subsystem=$("$objdump" -p "$exe" | awk '$1 == "MajorSubsystemVersion" { major = $2 }
                                        $1 == "MinorSubsystemVersion" { minor = $2 } END { print major "." minor }')
awk -v have="$subsystem" -v most="$nt" 'BEGIN { split(have, h, "."); split(most, m, ".");
        exit !(h[1] < m[1] || (h[1] == m[1] && h[2] <= m[2])) }' ||
    fail "$(basename "$exe") asks for subsystem version $subsystem, newer than $minimum ($nt)"
# The manifest declares exactly the minimum and every later version, in the source and in the exe.
supported() { grep -ao 'supportedOS Id="{[^}]*}"' "$1" | sed 's/.*{\(.*\)}.*/\1/' | tr 'A-F' 'a-f' | sort || true; }
for manifest in "$here/../../app/brindle.manifest" "$exe"; do
    [ "$(supported "$manifest")" = "$wanted" ] ||
        fail "$(basename "$manifest")'s supportedOS entries do not match $minimum and later: $(echo $(supported "$manifest"))"
done
[ "$failures" -eq 0 ] && echo "$(basename "$exe") ($arch): $(grep -c . <(imports "$exe")) imports," \
    "all available on $minimum; subsystem version $subsystem; manifest agrees, in the source and in the exe"
[ "$failures" -eq 0 ]
