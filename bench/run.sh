#!/bin/bash
# Builds Release for both architectures, runs Brindle's benchmarks under Wine (64-bit; 32-bit too where
# the kernel runs it), prints the table and writes it with the notes into docs/performance.md.
# BENCH_REPETITIONS=1 bench/run.sh makes a quick trial run (the table is still written: do not commit it).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
tools/install-deps.sh
source tools/wine-env.sh
export BENCH_REPETITIONS=${BENCH_REPETITIONS:-5}

for arch in x64 x86; do
    toolchain=cmake/toolchain-mingw-$([ $arch = x64 ] && echo x86_64 || echo i686).cmake
    cmake -S . -B "build/bench-$arch" --toolchain "$toolchain" -DCMAKE_BUILD_TYPE=Release \
        -DBRINDLE_BUILD_TESTS=OFF -DBRINDLE_BUILD_BENCH=ON >/dev/null
    cmake --build "build/bench-$arch" -j"$(nproc)" >"build/bench-$arch-build.log" 2>&1 || {
        tail -30 "build/bench-$arch-build.log"; exit 1; }
done

size_of() { # stripped size in KiB
    local copy; copy=$(mktemp); cp "$1" "$copy"; "$2" "$copy"; echo $(( $(stat -c %s "$copy") / 1024 )); rm -f "$copy"; }
x64_size=$(size_of build/bench-x64/bin/Brindle.exe x86_64-w64-mingw32-strip)
x86_size=$(size_of build/bench-x86/bin/Brindle.exe i686-w64-mingw32-strip)

table=$(mktemp)
run_arch() {
    local arch=$1 build="$root/build/bench-$1"
    local b="$build/bench" data="$build/bench-data"
    wine_start "$build" >&2 || { echo "bench: the display or the Wine prefix could not be brought up" >&2; exit 1; }
    mkdir -p "$data"
    # Brindle.exe finds its archiver beside it: here the benchmarks' own, which touches no archive.
    cp "$b/bench_archiver.exe" "$b/Rar.exe"
    cp "$build/bin/Brindle.exe" "$b/Brindle.exe"
    win() { echo "Z:${1//\//\\}"; }
    local bench=("$build/wine-run" "$b/bench_brindle.exe") brindle; brindle=$(win "$b/Brindle.exe")
    [ -d "$data/tree" ] || "${bench[@]}" make-tree "$(win "$data/tree")" >&2
    rm -rf "$data/run" "$data/capture"
    echo "| **$arch** | | | | |"
    "${bench[@]}" search "$(win "$data/tree")" "$brindle"
    "${bench[@]}" run "$(win "$data/run")" "$brindle"
    "${bench[@]}" capture "$(win "$data/capture")" "$brindle" 64
    "${bench[@]}" startup "$brindle" "$(win "$b/bench_empty_window.exe")"
    "${bench[@]}" log
    wine_stop
}
started=$SECONDS
load_before=$(cut -d' ' -f1 /proc/loadavg)
{
    echo "| figure | Brindle (min / median / max) | reference (min / median / max) | ratio (min / median / max) | target |"
    echo "|---|---|---|---|---|"
    run_arch x64
    if can_run_32bit; then
        run_arch x86
    else
        echo "| **x86** | not run: this kernel cannot execute 32-bit code | | | |"
    fi
    echo "| footprint: stripped Release Brindle.exe | x64: ${x64_size} KiB, x86: ${x86_size} KiB | - | - | <= 1024 KiB each |"
} | tr -d '\r' | tee "$table"
minutes=$(( (SECONDS - started) / 60 )) load_after=$(cut -d' ' -f1 /proc/loadavg)

{
    echo "# Performance"
    echo
    echo "Measured on $(date -u +%Y-%m-%d) on this project's build machine (Linux, Wine $(/usr/lib/wine/wine64 --version), $(nproc) CPUs, shared and noisy),"
    echo "with \`bench/run.sh\` ($BENCH_REPETITIONS repetitions, $minutes minutes; load average $load_before at the start,"
    echo "$load_after at the end). Each figure is measured in the same run as its reference; ratios pair each"
    echo "repetition with its own reference. Times in seconds."
    echo
    cat "$table"
    echo
    [ -f docs/performance-notes.md ] && cat docs/performance-notes.md
} >docs/performance.md
rm -f "$table"
echo "written: docs/performance.md"
