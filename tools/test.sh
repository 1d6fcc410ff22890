#!/bin/bash
# Installs what is needed, builds Brindle for 64-bit and 32-bit Windows and runs every test under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

tools/install-deps.sh
source tools/wine-env.sh

fixtures=${BRINDLE_FIXTURES_DIR:-$(cd "$root/.." && pwd)/shared/fixtures/rar}
status=0
for preset in x64-debug x86-debug; do
    echo "== $preset: configure and build"
    cmake --preset "$preset" -DBRINDLE_FIXTURES_DIR="$fixtures" >/dev/null
    cmake --build --preset "$preset" -j"$(nproc)" >"build/$preset-build.log" 2>&1 || {
        tail -40 "build/$preset-build.log"; exit 1; }
    if [ "$preset" = x86-debug ] && ! can_run_32bit; then
        echo "== $preset: built; only its tests that need no Wine run, as this kernel cannot execute 32-bit code"
        ctest --preset "$preset" -L no-wine || status=1
        continue
    fi
    echo "== $preset: test"
    wine_start "$root/build/$preset" || {
        echo "== $preset: the test bed (display, Wine prefix, wineserver) could not be brought up; no test ran" >&2
        exit 1; }
    ctest --preset "$preset" -j"${BRINDLE_TEST_JOBS:-2}" --timeout 600 || status=1
    wine_stop
done
exit $status
