# An archive the stand-in must not change: the right exit code and message, and the file byte-identical.
. "$(dirname "$0")/common.sh"
case_name=$1

masks='*'
case $case_name in
rar_multivolume) fixture=rar_multivolume.part0001.rar; codes=2; message='Cannot modify volume' ;;
rar5_multiarchive) fixture=rar5_multiarchive.part01.rar; codes=2; message='Cannot modify volume' ;;
rar4_solid_encrypted) fixture=rar4_solid_encrypted.rar; masks='b.txt'; codes=2; message='solid archive' ;;
rar5_solid) fixture=rar5_solid.rar; masks='test3.bin'; codes=2; message='solid archive' ;;
rar5_multiple_files_solid) fixture=rar5_multiple_files_solid.rar; masks='test4.bin'; codes=2; message='solid archive' ;;
rar_encryption_header) fixture=rar_encryption_header.rar; codes=2; message='encrypted' ;;
rar5_encrypted_filenames) fixture=rar5_encrypted_filenames.rar; codes=2; message='encrypted' ;;
rar_invalid1) fixture=rar_invalid1.rar; codes='2 3'; message='' ;;
rar5_bytes_remaining_underflow) fixture=rar5_bytes_remaining_underflow.rar; codes='2 3'; message='' ;;
not_rar) fixture=README.md; codes=2; message='README.md is not RAR archive' ;;
missing) fixture=''; codes=6; message='Cannot open' ;;
*) fail "unknown case $case_name" ;;
esac

mkdir -p "$SCRATCH/work"
cd "$SCRATCH/work" || fail "cd"
if [ -n "$fixture" ]; then
    fixture_copy "$fixture" work
    rar d "$fixture" "$masks"
else
    rar d absent.rar "$masks"
fi
show_rar
ok=no
for code in $codes; do [ "$rc" = "$code" ] && ok=yes; done
[ "$ok" = yes ] || fail "exit code $rc, expected one of: $codes"
if [ -n "$message" ]; then
    grep -qF "$message" "$SCRATCH/rar.out" || fail "no '$message' in the output"
fi
if [ -n "$fixture" ]; then
    cmp -s "$fixture" "$FIXTURES/$fixture" || fail "$fixture changed"
    leftovers=$(ls -A | grep -v "^$fixture\$" || true)
    [ -z "$leftovers" ] || fail "left behind: $leftovers"
fi
echo "refused with exit $rc, archive untouched"
