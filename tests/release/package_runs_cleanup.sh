#!/bin/bash
# The release package works: packed from this build's exe, it holds what it should, and unpacked with the
# recording archiver beside it as Rar.exe it runs one clean-up through the window.
set -euo pipefail
wine_run=$1 brindle=$2 fake_rar=$3 driver=$4 probe=$5 arch=$6 version=$7 work=$8
root=$(cd "$(dirname "$0")/../.." && pwd)

failures=0; fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
crlf_only() { # every line of the file ends with CR LF, the last one included
    [ "$(tr -cd '\n' <"$1" | wc -c)" -gt 0 ] && [ "$(tr -cd '\n' <"$1" | wc -c)" = "$(grep -c $'\r$' "$1")" ] &&
        [ "$(tail -c 2 "$1" | od -An -tx1 | tr -d ' \n')" = 0d0a ]
}

rm -rf "$work" && mkdir -p "$work/dist" "$work/unpacked"
zip=$("$root/tools/package.sh" --from "$brindle" "$arch" "$work/dist")
[ "$(basename "$zip")" = "Brindle-$version-$arch.zip" ] || fail "the package is named $(basename "$zip")"

# Exactly the program, the guide and the licence; names in code page 936.
names=$(LC_ALL=C.UTF-8 bsdtar --options hdrcharset=CP936 -tf "$zip" | sort)
expected=$(printf '%s\n' Brindle.exe LICENSE.txt 使用说明.txt | sort)
[ "$names" = "$expected" ] || fail "the zip holds: $(echo $names), expected: $(echo $expected)"

program="$work/unpacked"
(cd "$program" && LC_ALL=C.UTF-8 bsdtar --options hdrcharset=CP936 -xf "$zip")
guide="$program/使用说明.txt"
if [ -f "$guide" ]; then
    [ "$(head -c 3 "$guide" | od -An -tx1 | tr -d ' \n')" = efbbbf ] || fail "the guide has no UTF-8 byte-order mark"
    iconv -f UTF-8 -t UTF-8 "$guide" >/dev/null 2>&1 || fail "the guide is not UTF-8"
    crlf_only "$guide" || fail "the guide's lines do not all end with CR LF"
fi
[ ! -f "$program/LICENSE.txt" ] || crlf_only "$program/LICENSE.txt" || fail "LICENSE.txt's lines do not all end with CR LF"
LC_ALL=C x86_64-w64-mingw32-objdump -t "$program/Brindle.exe" | grep '^no symbols' >/dev/null || fail "Brindle.exe is not stripped"
[ "$failures" -eq 0 ] || exit 1

# One clean-up through the window, with the recording archiver beside the unpacked program.
cp "$fake_rar" "$program/Rar.exe"
tree="$work/tree" && mkdir -p "$tree/资料 目录"
printf 'Rar!\x1a\x07\x00 not read by the recording archiver' >"$tree/资料 目录/一个档案.rar"
printf 'not an archive\r\n' >"$tree/资料 目录/说明.txt"
# Started by the probe, in a job that ends it when the probe ends (here, or on ctest's kill at a timeout).
"$wine_run" "$probe" run "Z:${program//\//\\}\\Brindle.exe" >/dev/null 2>&1 &
brindle=$!
trap 'kill "$brindle" 2>/dev/null || true' EXIT
"$wine_run" "$driver" "Z:${tree//\//\\}" "Z:${work//\//\\}\\log.txt" '*.htm' || fail "the run through the window did not end"
kill "$brindle" 2>/dev/null || true

# The recording archiver's one call: d, the archive by its short path (Wine maps it back), the pattern.
IFS=$'\t' read -r command archive pattern < <(tr -d '\r' <"$program/rar-calls.log" 2>/dev/null || true)
[ "$(grep -c . "$program/rar-calls.log" 2>/dev/null)" = 1 ] || fail "the archiver was not called exactly once"
[ "$command $pattern" = "d *.htm" ] || fail "the archiver was called with '$command' and '$pattern', expected d and *.htm"
called=$("$wine_run" winepath -u "${archive:-none}" 2>/dev/null | tr -d '\r')
[ "$called" = "$tree/资料 目录/一个档案.rar" ] || fail "the archiver was called for '$archive' ($called)"
log=$(tr -d '\r' <"$work/log.txt" 2>/dev/null || true)
grep -q '^批处理文件：.*Brindle.BAT 已生成！$' <<<"$log" || fail "no batch-generated entry in the log"
grep -q '^Deleting from ' <<<"$log" || fail "the log lacks the archiver's report"
[ ! -e "$tree/Brindle.BAT" ] || fail "the batch was left behind"

[ "$failures" -eq 0 ] && echo "$(basename "$zip"): unpacked, ran one clean-up through the window"
[ "$failures" -eq 0 ]
