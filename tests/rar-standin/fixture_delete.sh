# Deletes members from a copy of a real archive; both Linux readers must then see exactly the rest, intact.
. "$(dirname "$0")/common.sh"
case_name=$1

erased=no
case $case_name in
rar)
    fixture=rar.rar; masks='testdir'
    remain='test.txt
testlink
testemptydir' ;;
rar_windows)
    fixture=rar_windows.rar; masks='*.lnk testdir/*.txt'
    remain='test.txt
testdir
testemptydir' ;;
rar_unicode)
    fixture=rar_unicode.rar; masks='表だよ\新しいフォルダ *漢字.TXT'
    remain='表だよ
表だよ/ファイル
abcdefghijklmnopqrsテスト.txt' ;;
rar_unicode_kana)
    fixture=rar_unicode.rar; masks='*テスト.txt'
    remain='表だよ/新しいフォルダ/新規テキスト ドキュメント.txt
表だよ/漢字長いファイル名long-filename-in-漢字.txt
表だよ/新しいフォルダ
表だよ
表だよ/ファイル' ;;
rar_compress_normal)
    fixture=rar_compress_normal.rar; masks='*.html'
    remain='testlink
testdir/test.txt
testdir
testemptydir' ;;
rar_subblock)
    fixture=rar_subblock.rar; masks='test.txt'; erased=yes; remain='' ;;
rar_noeof)
    fixture=rar_noeof.rar; masks='*.*'; erased=yes; remain='' ;;
rar_encryption_partially)
    fixture=rar_encryption_partially.rar; masks='foo.txt'
    remain='bar.txt' ;;
rar5_stored)
    fixture=rar5_stored.rar; masks='HELLOWORLD.TXT'; erased=yes; remain='' ;;
rar5_multiple_files)
    fixture=rar5_multiple_files.rar; masks='test2.bin test4.BIN'
    remain='test1.bin
test3.bin' ;;
rar5_win32)
    fixture=rar5_win32.rar; masks='testdir test?.bin'
    remain='test.bin' ;;
rar5_stored_manyfiles)
    fixture=rar5_stored_manyfiles.rar; masks='*.txt'
    remain='make_uue.tcl
test.bin' ;;
rar5_unicode)
    fixture=rar5_unicode.rar; masks='𝒮*'
    remain='👋🌎.txt
Ⓗⓐⓡⓓ Ⓛⓘⓝⓚ.txt' ;;
no_match)
    fixture=rar5_multiple_files.rar; masks='*.htm *.url'
    remain='test1.bin
test2.bin
test3.bin
test4.bin' ;;
*) fail "unknown case $case_name" ;;
esac

fixture_copy "$fixture" work
cd "$SCRATCH/work" || fail "cd"
set -f
# shellcheck disable=SC2086
rar d "$fixture" $masks
set +f
show_rar

if [ "$case_name" = no_match ]; then
    [ "$rc" = 10 ] || fail "exit code $rc, not 10"
    grep -qx 'No files to delete' "$SCRATCH/rar.out" || fail "no 'No files to delete' line"
    cmp -s "$fixture" "$FIXTURES/$fixture" || fail "archive changed"
    echo "untouched, exit 10"
    exit 0
fi

[ "$rc" = 0 ] || fail "exit code $rc"
grep -qx 'Done' "$SCRATCH/rar.out" || fail "no Done line"
leftovers=$(ls -A | grep -v "^$fixture\$" || true)
[ -z "$leftovers" ] || fail "left behind: $leftovers"
if [ "$erased" = yes ]; then
    [ ! -e "$fixture" ] || fail "$fixture should be erased"
    echo "archive erased"
    exit 0
fi
check_bsdtar_list "$fixture" "$remain"
check_lsar "$fixture"
echo "bsdtar and lsar agree on the $(printf '%s\n' "$remain" | wc -l) remaining members"
