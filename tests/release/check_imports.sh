#!/bin/bash
# Fails when a Windows executable could not start on the minimum Windows version the README states:
# when it imports a function that is not on the reviewed list for its architecture (every function on
# the list exists on that version), when its PE header asks for a newer subsystem version, or when the
# manifest's supportedOS entries (in the source and in the exe) do not start at that version.
# Usage: check_imports.sh ARCH EXE     (ARCH: win64 or win32)
set -euo pipefail
export LC_ALL=C  # objdump's own words, untranslated
arch=$1 exe=$2
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
list="$here/imports-$arch.txt"
[ -f "$list" ] || { echo "no import list $list" >&2; exit 2; }
[ -f "$exe" ] || { echo "no executable $exe" >&2; exit 2; }

# The list's header names the minimum: "# minimum: Windows Vista".
minimum=$(sed -n 's/^# minimum: *//p' "$list")
# Each version: NT version (for the PE subsystem version) and its supportedOS identifier.
declare -A nt_version=([Windows Vista]=6.0 [Windows 7]=6.1 [Windows 8]=6.2 [Windows 8.1]=6.3 [Windows 10]=10.0)
order=("Windows Vista" "Windows 7" "Windows 8" "Windows 8.1" "Windows 10")
declare -A supported_os=(
    [Windows Vista]=e2011457-1546-43c5-a5fe-008deee3d3f0 [Windows 7]=35138b9a-5d96-4fbd-8e2d-a2440225f93a
    [Windows 8]=4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38 [Windows 8.1]=1f676c76-80e1-4239-95bb-83d0f6d0da78
    [Windows 10]=8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a)
[ -n "${nt_version[$minimum]:-}" ] || { echo "$list: unknown minimum \"$minimum\"" >&2; exit 2; }

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# 1. Imports: each one on the reviewed list.
new=$(comm -23 <("$here/list_imports.sh" "$exe") <(grep -v '^#' "$list" | awk 'NF { print $1, $2 }' | sort -u))
if [ -n "$new" ]; then
    fail "$(basename "$exe") ($arch) imports functions that are not on $list:"
    sed 's/^/    /' <<<"$new"
    echo "  Look up each one's minimum supported Windows version. If it is $minimum or older, add it to"
    echo "  the list; if not, either avoid it or raise the stated minimum (list header, README,"
    echo "  docs/platforms.md, manifest) knowingly."
fi

# 2. The loader refuses an image whose subsystem version is newer than the system.
objdump=x86_64-w64-mingw32-objdump
command -v "$objdump" >/dev/null || objdump=i686-w64-mingw32-objdump
subsystem=$("$objdump" -p "$exe" | awk '$1 == "MajorSubsystemVersion" { major = $2 }
                                        $1 == "MinorSubsystemVersion" { minor = $2 }
                                        END { print major "." minor }')
if ! awk -v have="$subsystem" -v most="${nt_version[$minimum]}" 'BEGIN {
        split(have, h, "."); split(most, m, ".");
        exit !(h[1] < m[1] || (h[1] == m[1] && h[2] <= m[2])) }'; then
    fail "$(basename "$exe") asks for subsystem version $subsystem, newer than $minimum (${nt_version[$minimum]})"
fi

# 3. The manifest declares exactly the minimum and every later version.
expected=()
started=
for version in "${order[@]}"; do
    [ "$version" = "$minimum" ] && started=1
    [ -n "$started" ] && expected+=("${supported_os[$version]}")
done
wanted=$(printf '%s\n' "${expected[@]}" | sort)
supported() { grep -ao 'supportedOS Id="{[^}]*}"' "$1" | sed 's/.*{\(.*\)}.*/\1/' | tr 'A-F' 'a-f' | sort || true; }
declared=$(supported "$root/app/brindle.manifest")
[ "$declared" = "$wanted" ] ||
    fail "app/brindle.manifest's supportedOS entries do not match $minimum and later: $(echo $declared)"
# The manifest the exe carries (a resource, stored as plain text).
embedded=$(supported "$exe")
[ "$embedded" = "$wanted" ] ||
    fail "the manifest in $(basename "$exe") does not declare $minimum and later: $(echo $embedded)"

if [ "$failures" -eq 0 ]; then
    echo "$(basename "$exe") ($arch): $(grep -c . <("$here/list_imports.sh" "$exe")) imports, all available on $minimum;" \
         "subsystem version $subsystem; manifest agrees, in the source and in the exe"
fi
[ "$failures" -eq 0 ]
