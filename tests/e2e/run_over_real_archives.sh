#!/bin/bash
# One run through Brindle's window over real archives: each keeps exactly its non-matching members, hidden
# and refused ones stay unchanged, and the summary names each refused archive with its reason and each one
# emptied. With "long" as eighth argument the tree's path is past MAX_PATH.
set -euo pipefail
wine_run=$1 brindle=$2 standin=$3 driver=$4 probe=$5 fixtures=$6 work=$7 form=${8:-}
pattern='*.html *.lnk test1.bin helloworld.txt'

tree="$work/tree"
if [ "$form" = long ]; then
    while [ ${#tree} -lt 300 ]; do tree="$tree/$(printf '%.0s长文件夹名称' 1 2 3 4 5 6)"; done
fi
rm -rf "$work" && mkdir -p "$work/program" "$tree" "$work/staging"
cp "$brindle" "$standin" "$work/program/"

n=0
place() { # place <source archive> <folder below tree> <name>
    n=$((n + 1)); mkdir -p "$tree/$2"; cp "$1" "$tree/$2/$3"; chmod u+w "$tree/$2/$3"; }
for fixture in rar.rar rar_windows.rar rar_subblock.rar rar_noeof.rar rar_compress_normal.rar \
               rar_unicode.rar rar5_stored.rar rar5_multiple_files.rar rar5_win32.rar rar5_unicode.rar \
               rar5_stored_manyfiles.rar; do
    place "$fixtures/$fixture" "f$n" "$fixture"
done
# Refused by the archiver: a volume of a set (2), encrypted names (2), a damaged archive (2 or 3).
declare -A refused=([rar_multivolume.part0001.rar]='致命错误（退出代码 2）'
                    [rar5_encrypted_filenames.rar]='致命错误（退出代码 2）'
                    [rar_invalid1.rar]='(致命错误（退出代码 2）|压缩文件已损坏（CRC 校验错误）（退出代码 3）)')
for fixture in "${!refused[@]}"; do place "$fixtures/$fixture" refused "$fixture"; done

# Archives made by the stand-in, with Chinese names and blanks, nested, and one in a hidden folder
# (Wine shows Unix dot folders as hidden).
staging="$work/staging"
printf 'content\r\n' >"$staging/正文.doc"; printf '<html>ad</html>\r\n' >"$staging/广告.html"
printf 'shortcut\r\n' >"$staging/快捷方式.lnk"; printf 'root test1\r\n' >"$staging/test1.bin"
mkdir -p "$staging/资料"; printf 'keep\r\n' >"$staging/资料/test1.bin"; printf '<p>\r\n' >"$staging/资料/页.HTML"
make() { # make <folder below tree> <name> <options...>; made in a short folder, then moved into the tree
    mkdir -p "$tree/$1" "$work/made"
    (cd "$staging" && "$wine_run" "$work/program/Rar.exe" a "${@:3}" "Z:${work//\//\\}\\made\\$2" \
        正文.doc 广告.html 快捷方式.lnk 资料 test1.bin >/dev/null)
    mv "$work/made/$2" "$tree/$1/$2"
}
make "中文 目录/子目录" "资料 一.rar"
make "中文 目录" "旧格式.rar" -ma4
make "deep/a/b/c" "x.rar"
make ".hidden" "hidden.rar"

listing() { bsdtar -tf "$1" | sort; }
expected_after() { # the members that the pattern does not match
    listing "$1" | awk '{ lower = tolower($0); n = split(lower, parts, "/"); base = parts[n];
        if (base ~ /\.html$/ || base ~ /\.lnk$/ || lower == "test1.bin" || lower == "helloworld.txt") next; print }'
}

declare -A before_sum expect
while IFS= read -r -d '' archive; do
    before_sum[$archive]=$(sha256sum "$archive" | cut -d' ' -f1)
    [[ "$archive" = */.hidden/* || "$archive" = */refused/* ]] || expect[$archive]=$(expected_after "$archive")
done < <(find "$tree" -name '*.rar' -print0)

# The run, through the window as a person makes it. The probe starts Brindle in a job that ends it, and
# all it started, when the probe ends: here, or by ctest's kill of this script's processes on a timeout.
"$wine_run" "$probe" run "Z:${work//\//\\}\\program\\Brindle.exe" >/dev/null 2>&1 &
brindle=$!
trap 'kill "$brindle" 2>/dev/null || true' EXIT
"$wine_run" "$driver" "Z:${tree//\//\\}" "Z:${work//\//\\}\\log.txt" "$pattern"
kill "$brindle" 2>/dev/null || true

failures=0; fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
for archive in "${!before_sum[@]}"; do
    name=${archive#$tree/}
    if [[ "$archive" = */.hidden/* || "$archive" = */refused/* ]]; then
        [ "$(sha256sum "$archive" 2>/dev/null | cut -d' ' -f1)" = "${before_sum[$archive]}" ] || fail "$name changed"
        continue
    elif [ -z "${expect[$archive]}" ]; then
        [ ! -e "$archive" ] || fail "$name should be erased: every member matched"
        continue
    fi
    [ -f "$archive" ] || { fail "$name is gone"; continue; }
    actual=$(listing "$archive")
    [ "$actual" = "${expect[$archive]}" ] || fail "$name holds: $(echo $actual) expected: $(echo ${expect[$archive]})"
done

log=$(tr -d '\r' <"$work/log.txt")
grep -q '^批处理文件：.*Brindle.BAT 已生成！$' <<<"$log" || fail "no batch-generated entry in the log"
deleting=$(grep -c '^Deleting from ' <<<"$log" || true)
[ "$deleting" -ge "${#expect[@]}" ] || fail "the log shows $deleting archiver reports, expected ${#expect[@]} at least"
grep -q '^Deleting 广告.html$' <<<"$log" || fail "the log lacks the archiver's report of a Chinese member"
windows() { local path="Z:${1//\//\\}"; printf '%s' "${path//\\/\\\\}"; } # as the log names it, for grep -E
total=$(( ${#before_sum[@]} - 1 )) # the hidden one is not found
grep -qE "^共 $total 个压缩文件：.*失败 3 个，未处理（已停止）0 个。$" <<<"$log" || fail "no summary of $total archives, 3 failed"
for fixture in "${!refused[@]}"; do
    grep -qE "^  $(windows "$tree/refused/$fixture")：${refused[$fixture]}$" <<<"$log" || fail "the summary does not name $fixture with its reason"
done
emptied=$(sed -n '/^处理后已不存在的压缩文件/,/^---/p' <<<"$log")
for archive in "${!expect[@]}"; do
    if [ -z "${expect[$archive]}" ]; then
        grep -qE "^  $(windows "$archive")$" <<<"$emptied" || fail "the summary does not name ${archive#$tree/} as emptied"
    fi
done
[ ! -e "$tree/Brindle.BAT" ] || fail "the batch was left behind"
[ ! -e "$tree/RARLIST.LST" ] || fail "the list was left behind"

echo "archives: ${#before_sum[@]}, changed as expected or untouched: $(( ${#before_sum[@]} - failures ))"
[ "$failures" -eq 0 ]
