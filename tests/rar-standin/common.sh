# Shared by the stand-in's end-to-end scripts. Arguments: wine-run, Rar.exe, scratch folder, fixtures.
set -u
WINE_RUN=$1
RAR_EXE=$2
SCRATCH=$3
FIXTURES=$4
shift 4

rm -rf "$SCRATCH"
mkdir -p "$SCRATCH"

fail() {
    echo "FAILED: $*"
    exit 1
}

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
