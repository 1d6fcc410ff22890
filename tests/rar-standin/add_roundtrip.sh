# Makes a stored archive with the "a" command from a tree with Chinese names and nested folders; both
# Linux readers must list it, test its CRCs and extract the same bytes; then deleting from it must work too.
. "$(dirname "$0")/common.sh"
switch=''
[ "$1" = rar4 ] && switch='-ma4'

mkdir -p "$SCRATCH/src/网页 备份/深 层" "$SCRATCH/src/empty" "$SCRATCH/out"
printf 'hello\r\n' >"$SCRATCH/src/a.txt"
printf '中文内容\n' >"$SCRATCH/src/网页 备份/首页.htm"
head -c 70000 /dev/urandom >"$SCRATCH/src/网页 备份/深 层/数据.bin"
printf '[InternetShortcut]\r\nURL=http://example.com/\r\n' >"$SCRATCH/src/网页 备份/深 层/链接.url"
: >"$SCRATCH/src/零.txt"

cd "$SCRATCH/src" || fail "cd"
rar a $switch ../out/made.rar a.txt "网页 备份" empty 零.txt
[ "$rc" = 0 ] || fail "a exited with $rc"
cd "$SCRATCH/out" || fail "cd"
check_bsdtar_list made.rar 'a.txt|网页 备份|网页 备份/首页.htm|网页 备份/深 层|网页 备份/深 层/数据.bin|网页 备份/深 层/链接.url|empty|零.txt'
check_lsar made.rar
# Not the empty 零.txt: bsdtar 3.6.2 sometimes reads past an empty RAR 5 member without end (real archives
# too); unar's tree below covers it.
for member in 'a.txt' '网页 备份/首页.htm' '网页 备份/深 层/数据.bin' '网页 备份/深 层/链接.url'; do
    timeout 60 bsdtar -xOf made.rar "$member" >"$SCRATCH/extracted" 2>"$SCRATCH/bsdtar.err" || { cat "$SCRATCH/bsdtar.err"; fail "bsdtar -xOf $member"; }
    cmp -s "$SCRATCH/extracted" "$SCRATCH/src/$member" || fail "bsdtar extracted other bytes for $member"
done
mkdir -p "$SCRATCH/unar"
timeout 60 unar -q -o "$SCRATCH/unar" -D made.rar >"$SCRATCH/unar.out" 2>&1 || { cat "$SCRATCH/unar.out"; fail "unar"; }
diff -r "$SCRATCH/src" "$SCRATCH/unar" >"$SCRATCH/diff.out" 2>&1 || { cat "$SCRATCH/diff.out"; fail "unar extracted another tree"; }

# Then the other way: delete from what "a" made.
rar d made.rar '*.htm' '网页 备份\深 层\*.url' 'EMPTY'
[ "$rc" = 0 ] || fail "d exited with $rc"
check_bsdtar_list made.rar 'a.txt|网页 备份|网页 备份/深 层|网页 备份/深 层/数据.bin|零.txt'
check_lsar made.rar
echo "made, read back and deleted from: $1"
