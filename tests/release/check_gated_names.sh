#!/bin/bash
# What imports cannot show: fails when the sources use a Windows header name or a manifest setting whose
# documented minimum Windows the reviewed gated-names.txt does not record, or records above the stated
# minimum without a file that handles older systems. Usage: check_gated_names.sh CXX-COMPILER
set -euo pipefail
export LC_ALL=C # the compiler's own words, untranslated
compiler=$1
here=$(cd "$(dirname "$0")" && pwd) && list="$here/gated-names.txt" && cd "$here/../.."

# Each version: its name in the lists, and its _WIN32_WINNT value.
versions=$'Windows XP=0x0501\nWindows Server 2003=0x0502\nWindows Vista=0x0600\nWindows 7=0x0601\n'\
$'Windows 8=0x0602\nWindows 8.1=0x0603\nWindows 10=0x0A00'
level() { awk -F= -v v="$1" '$1 == v { print $2 }' <<<"$versions"; }
minimum=$(sed -n 's/^# minimum: *//p' "$list")
at=$(level "$minimum")
[ -n "$at" ] || { echo "$list: unknown minimum \"$minimum\"" >&2; exit 2; }
before=$(awk -F= -v m="$at" '$2 == m { exit } { last = $2 } END { print last }' <<<"$versions")

# The list: name, documented minimum's level, the note.
entries=$(grep -v '^#' "$list" | awk -F' *[|] *' 'NF >= 2 { print $1 "|" $2 "|" $3 }')
listed() { awk -F'|' -v n="$1" '$1 == n { found = 1 } END { exit !found }' <<<"$entries"; }

failures=0; fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The build's own definitions, with the target version replaced.
definitions=$(sed -n 's/^add_compile_definitions(\(.*\))/\1/p' CMakeLists.txt | tr ' ' '\n' |
    grep -v '^_WIN32_WINNT=\|^WINVER=' | sed 's/^/-D/')
sources=$(ls app/*.cpp job/*.cpp platform/*.cpp)
lacking() { # lacking LEVEL: the names the sources use that the headers do not declare at that level
    printf '%s\n' $sources | xargs -P2 -I{} "$compiler" -std=c++20 -fsyntax-only -I. $definitions \
        -D_WIN32_WINNT="$1" -DWINVER="$1" {} 2>&1 |
        sed -n "s/.*error: '\(::\)\{0,1\}\([A-Za-z_][A-Za-z0-9_]*\)' \(was not declared\|has not been declared\|does not name a type\|is not a member of\).*/\2/p" |
        sort -u
}
for name in $(lacking "$before"); do
    listed "$name" || fail "$name is declared by the headers only after $minimum; look up its documented" \
        "minimum and add it to $list"
done
for name in $(lacking "$at"); do
    documented=$(awk -F'|' -v n="$name" '$1 == n { print $2 }' <<<"$entries")
    [ -n "$documented" ] && [ "$(( $(level "$documented") ))" -gt "$(( at ))" ] ||
        fail "$name is declared by the headers only after $minimum, but $list lists it at \"$documented\""
done

# The manifest's settings.
manifest=app/brindle.manifest
for element in $(sed -n '/<windowsSettings>/,/<\/windowsSettings>/p' "$manifest" |
                 sed -n 's/^ *<\([A-Za-z]*\)[ >].*/\1/p' | grep -v '^windowsSettings$' | sort -u); do
    listed "manifest:$element" || fail "$manifest sets $element, which is not on $list"
done

# Every entry: still used, a known minimum, and where it is above the stated one, a file that names it.
while IFS='|' read -r name documented note; do
    [ -n "$(level "$documented")" ] || { fail "$name: unknown minimum \"$documented\""; continue; }
    case "$name" in # what the sources hold where the name is used
        manifest:*=*) term=${name#*=}; grep -qF -- "$term" "$manifest" ;;
        manifest:*) term=${name#manifest:}; grep -qF -- "$term" "$manifest" ;;
        *) term=$name; grep -qw -- "$term" $sources ;;
    esac || fail "$name is on $list but no longer used"
    if [ "$(( $(level "$documented") ))" -gt "$(( at ))" ]; then
        file=${note%%:*}
        if [ -z "$note" ] || [ ! -f "$file" ] || ! grep -qF -- "$term" "$file"; then
            fail "$name needs $documented, later than $minimum, and $list names no file that handles it"
        fi
    fi
done <<<"$entries"

[ "$failures" -eq 0 ] && echo "$(grep -c . <<<"$entries") names with a documented minimum, all on $list;" \
    "none above $minimum without a file that handles it"
[ "$failures" -eq 0 ]
