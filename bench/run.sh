#!/bin/bash
# Builds Release for both architectures, runs Brindle's benchmarks under Wine (64-bit; 32-bit too where
# the kernel runs it), prints the table and writes it with this command into docs/performance.md.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
tools/install-deps.sh
source tools/wine-env.sh

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
    cp "$b/bench_noop_archiver.exe" "$b/Rar.exe"
    cp "$build/bin/Brindle.exe" "$b/Brindle.exe"
    win() { echo "Z:${1//\//\\}"; }
    local bench=("$build/wine-run" "$b/bench_brindle.exe")
    [ -d "$data/tree" ] || "${bench[@]}" make-tree "$(win "$data/tree")" >&2
    echo "| **$arch** | | | | |"
    "${bench[@]}" search "$(win "$data/tree")"
    "${bench[@]}" window-run "$(win "$data/tree")" "$(win "$b/Brindle.exe")"
    "${bench[@]}" run-parts "$(win "$data/tree")"
    "${bench[@]}" capture "$(win "$b/bench_child_writer.exe")"
    "${bench[@]}" capture-peak "$(win "$b/bench_child_writer.exe")" 256
    "${bench[@]}" capture-peak "$(win "$b/bench_child_writer.exe")" 256 reader
    "${bench[@]}" log
    rm -rf "$data/run"
    "${bench[@]}" run "$(win "$data/run")" "$(win "$b/Rar.exe")"
    "${bench[@]}" startup "$(win "$b/Brindle.exe")" "$(win "$b/bench_empty_window.exe")" \
        "$(win "$b/bench_designed_window.exe")"
    "${bench[@]}" startup-parts "$(win "$b/bench_startup_parts.exe")" "$(win "$b/bench_empty_window.exe")" \
        "$(win "$b/bench_designed_window.exe")"
    "${bench[@]}" idle "$(win "$b/Brindle.exe")"
    wine_stop
}
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

{
    echo "# Performance"
    echo
    echo "Measured on $(date -u +%Y-%m-%d) on this project's build machine (Linux, Wine $(/usr/lib/wine/wine64 --version), $(nproc) CPUs, shared and noisy),"
    echo "with \`bench/run.sh\`. Each figure is measured in the same run as its reference; ratios pair each"
    echo "repetition with its own reference. Times in seconds."
    echo
    cat "$table"
    echo
    [ -f docs/performance-notes.md ] && cat docs/performance-notes.md
} >docs/performance.md
rm -f "$table"
echo "written: docs/performance.md"
