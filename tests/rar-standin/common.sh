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

# Runs Rar.exe in the current folder; output in $SCRATCH/rar.out (converted from the ANSI code page), code in $rc.
rar() {
    rc=0
    "$WINE_RUN" "$RAR_EXE" "$@" >"$SCRATCH/rar.raw" 2>&1 || rc=$?
    iconv -f GBK -t UTF-8 <"$SCRATCH/rar.raw" | tr -d '\r' >"$SCRATCH/rar.out" || cp "$SCRATCH/rar.raw" "$SCRATCH/rar.out"
}

show_rar() {
    echo "--- Rar.exe said (exit $rc):"
    cat "$SCRATCH/rar.out"
}

# A copy of a fixture in a folder of its own (side by side, unar takes archives for volumes of one set).
fixture_copy() {
    mkdir -p "$SCRATCH/$2"
    cp "$FIXTURES/$1" "$SCRATCH/$2/$1"
    chmod u+w "$SCRATCH/$2/$1"
}

# bsdtar's list (it checks header CRCs) must equal the expected names, one a line.
check_bsdtar_list() {
    archive=$1
    expected=$2
    timeout 60 bsdtar -tf "$archive" >"$SCRATCH/bsdtar.out" 2>&1 || { cat "$SCRATCH/bsdtar.out"; fail "bsdtar -tf $archive"; }
    sort "$SCRATCH/bsdtar.out" >"$SCRATCH/bsdtar.sorted"
    printf '%s\n' "$expected" | sed '/^$/d' | sort >"$SCRATCH/expected.sorted"
    if ! cmp -s "$SCRATCH/bsdtar.sorted" "$SCRATCH/expected.sorted"; then
        echo "--- bsdtar listed:"; cat "$SCRATCH/bsdtar.sorted"
        echo "--- expected:"; cat "$SCRATCH/expected.sorted"
        fail "members of $archive"
    fi
}

# lsar tests the data CRC of every member. Its own summary line stays out of what the test prints.
check_lsar() {
    archive=$1
    timeout 60 lsar -t "$archive" >"$SCRATCH/lsar.out" 2>&1
    if ! grep -q ', 0 failed\.$' "$SCRATCH/lsar.out" || grep -Eq 'failed!|Unsupported|requires a password' "$SCRATCH/lsar.out"; then
        grep -v 'passed, .* failed\.$' "$SCRATCH/lsar.out"
        fail "lsar -t $archive"
    fi
}
