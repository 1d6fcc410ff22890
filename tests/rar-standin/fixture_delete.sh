# Runs "Rar.exe d" on a copy of a real archive. Where it deletes, both Linux readers must see exactly the
# members left, intact, or the archive must be gone when nothing is left; where it refuses or finds nothing
# to delete, the archive must stay byte-identical. Always: the exit code, the output, nothing else left.
# Arguments: wine-run, Rar.exe, scratch folder, fixtures, the case.
set -u
WINE_RUN=$1 RAR_EXE=$2 SCRATCH=$3 FIXTURES=$4
shift 4
rm -rf "$SCRATCH" && mkdir -p "$SCRATCH"
fail() { echo "FAILED: $*"; exit 1; }

# Runs Rar.exe in the current folder and shows what it said; output in $SCRATCH/rar.out (converted from the
# ANSI code page), code in $rc.
rar() {
    rc=0
    "$WINE_RUN" "$RAR_EXE" "$@" >"$SCRATCH/rar.raw" 2>&1 || rc=$?
    iconv -f GBK -t UTF-8 <"$SCRATCH/rar.raw" | tr -d '\r' >"$SCRATCH/rar.out" || cp "$SCRATCH/rar.raw" "$SCRATCH/rar.out"
    echo "--- Rar.exe said (exit $rc):"
    cat "$SCRATCH/rar.out"
}

# bsdtar's list (it checks header CRCs) must equal the expected names, separated by '|'.
check_bsdtar_list() {
    timeout 60 bsdtar -tf "$1" >"$SCRATCH/bsdtar.out" 2>&1 || { cat "$SCRATCH/bsdtar.out"; fail "bsdtar -tf $1"; }
    sort "$SCRATCH/bsdtar.out" >"$SCRATCH/bsdtar.sorted"
    printf '%s\n' "$2" | tr '|' '\n' | sed '/^$/d' | sort >"$SCRATCH/expected.sorted"
    if ! cmp -s "$SCRATCH/bsdtar.sorted" "$SCRATCH/expected.sorted"; then
        echo "--- bsdtar listed:"; cat "$SCRATCH/bsdtar.sorted"
        echo "--- expected:"; cat "$SCRATCH/expected.sorted"
        fail "members of $1"
    fi
}

# lsar tests the data CRC of every member. Its own summary line stays out of what the test prints.
check_lsar() {
    timeout 60 lsar -t "$1" >"$SCRATCH/lsar.out" 2>&1
    if ! grep -q ', 0 failed\.$' "$SCRATCH/lsar.out" || grep -Eq 'failed!|Unsupported|requires a password' "$SCRATCH/lsar.out"; then
        grep -v 'passed, .* failed\.$' "$SCRATCH/lsar.out"
        fail "lsar -t $1"
    fi
}

# Archive, masks, exit codes, what the output holds (grep -E), then the members left ('|' between them),
# ERASED or UNTOUCHED.
row() { fixture=$1 masks=$2 codes=$3 message=$4 left=$5; }
case $1 in
rar) row rar.rar 'testdir' 0 '^Done$' 'test.txt|testlink|testemptydir' ;;
rar_windows) row rar_windows.rar '*.lnk testdir/*.txt' 0 '^Done$' 'test.txt|testdir|testemptydir' ;;
rar_unicode) row rar_unicode.rar '表だよ\新しいフォルダ *漢字.TXT' 0 '^Done$' '表だよ|表だよ/ファイル|abcdefghijklmnopqrsテスト.txt' ;;
rar_compress_normal) row rar_compress_normal.rar '*.html' 0 '^Done$' 'testlink|testdir/test.txt|testdir|testemptydir' ;;
rar_subblock) row rar_subblock.rar 'test.txt' 0 '^Done$' ERASED ;;
rar_noeof) row rar_noeof.rar '*.*' 0 '^Done$' ERASED ;;
rar_encryption_partially) row rar_encryption_partially.rar 'foo.txt' 0 '^Done$' 'bar.txt' ;;
rar5_stored) row rar5_stored.rar 'HELLOWORLD.TXT' 0 '^Done$' ERASED ;;
rar5_multiple_files) row rar5_multiple_files.rar 'test2.bin test4.BIN' 0 '^Done$' 'test1.bin|test3.bin' ;;
rar5_win32) row rar5_win32.rar 'testdir test?.bin' 0 '^Done$' 'test.bin' ;;
rar5_stored_manyfiles) row rar5_stored_manyfiles.rar '*.txt' 0 '^Done$' 'make_uue.tcl|test.bin' ;;
rar5_unicode) row rar5_unicode.rar '𝒮*' 0 '^Done$' '👋🌎.txt|Ⓗⓐⓡⓓ Ⓛⓘⓝⓚ.txt' ;;
no_match) row rar5_multiple_files.rar '*.htm *.url' 10 '^No files to delete$' UNTOUCHED ;;
switches_only) row rar5_multiple_files.rar '-r -ep1' 0 '^Done$' ERASED ;;
excluded) row rar_windows.rar '-x*.txt -xtestdir' 0 '^Done$' 'test.txt|testdir|testdir/test.txt' ;;
excluded_with_masks) row rar_windows.rar '-xtestdir\* *.txt' 0 '^Done$' 'testdir|testdir/test.txt|testemptydir|testshortcut.lnk' ;;
no_mask) row rar5_multiple_files.rar '' 0 '^Done$' ERASED ;;
switches_ended) row rar5_multiple_files.rar '--' 0 '^Done$' ERASED ;;
dash_after_end_is_a_mask) row rar5_multiple_files.rar '-- -r' 10 '^No files to delete$' UNTOUCHED ;;
rar_multivolume) row rar_multivolume.part0001.rar '*' 2 'Cannot modify volume' UNTOUCHED ;;
rar5_multiarchive) row rar5_multiarchive.part01.rar '*' 2 'Cannot modify volume' UNTOUCHED ;;
rar4_solid_encrypted) row rar4_solid_encrypted.rar 'b.txt' 2 'solid archive' UNTOUCHED ;;
rar5_solid) row rar5_solid.rar 'test3.bin' 2 'solid archive' UNTOUCHED ;;
rar_encryption_header) row rar_encryption_header.rar '*' 2 'encrypted' UNTOUCHED ;;
rar5_encrypted_filenames) row rar5_encrypted_filenames.rar '*' 2 'encrypted' UNTOUCHED ;;
rar_invalid1) row rar_invalid1.rar '*' '2 3' '' UNTOUCHED ;;
rar5_bytes_remaining_underflow) row rar5_bytes_remaining_underflow.rar '*' '2 3' '' UNTOUCHED ;;
not_rar) row README.md '*' 2 'README.md is not RAR archive' UNTOUCHED ;;
missing) row '' '*' 6 'Cannot open' UNTOUCHED ;;
*) fail "unknown case $1" ;;
esac

# In a folder of its own: lsar takes archives side by side for volumes of one set.
mkdir -p "$SCRATCH/work"
cd "$SCRATCH/work" || fail "cd"
if [ -n "$fixture" ]; then
    cp "$FIXTURES/$fixture" . && chmod u+w "$fixture" || fail "copy $fixture"
fi
set -f
# shellcheck disable=SC2086
rar d "${fixture:-absent.rar}" $masks
set +f
case " $codes " in *" $rc "*) ;; *) fail "exit code $rc, expected one of: $codes" ;; esac
grep -qE "$message" "$SCRATCH/rar.out" || fail "no '$message' in the output"
leftovers=$(ls -A | grep -vxF "$fixture" || true)
[ -z "$leftovers" ] || fail "left behind: $leftovers"
case $left in
UNTOUCHED) [ -z "$fixture" ] || cmp -s "$fixture" "$FIXTURES/$fixture" || fail "$fixture changed" ;;
ERASED) [ ! -e "$fixture" ] || fail "$fixture should be erased" ;;
*) check_bsdtar_list "$fixture" "$left" && check_lsar "$fixture" ;;
esac
echo "exit $rc, members left: $left"
