#!/bin/bash
# The main job on a sample folder: installs what is needed, builds Brindle and the RAR stand-in, makes
# archives that hold junk (*.htm, *.url, *.txt) beside real content, lists them, and opens Brindle on
# the folder. With a display the window is yours to drive. Without one (or with BRINDLE_DEMO_HEADLESS=1)
# it runs once through the window (folder, include subfolders, Execute), saves a screenshot, prints the
# log and lists the archives again.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

tools/install-deps.sh
source tools/wine-env.sh

preset=x64-release
build="$root/build/$preset"
echo "== building Brindle ($preset)"
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j"$(nproc)" >"build/$preset-build.log" 2>&1 || {
    tail -40 "build/$preset-build.log"; exit 1; }

demo="$root/build/demo"
sample="$demo/sample"
staging="$demo/staging"
program="$demo/program"
rm -rf "$demo"
mkdir -p "$sample" "$staging" "$program"
cp "$build/bin/Brindle.exe" "$program/"
# The demo's archiver is the project's stand-in; for your own archives use the real Rar.exe.
cp "$build/rar-standin/Rar.exe" "$program/"

headless=${BRINDLE_DEMO_HEADLESS:-}
display_alive "${DISPLAY:-}" || headless=1
if [ -n "$headless" ]; then
    BRINDLE_OWN_DISPLAY=1
    export BRINDLE_OWN_DISPLAY
fi
wine_start "$build" || { echo "demo: the display or the Wine prefix could not be brought up" >&2; exit 1; }
trap wine_stop EXIT
rar() { (cd "$staging" && "$build/wine-run" "$program/Rar.exe" "$@" >/dev/null); }

echo "== making the sample archives in $sample"
make_content() {
    rm -rf "$staging"/* && mkdir -p "$staging"
    printf '第一章 正文\r\n真正的内容留在档案里。\r\n' >"$staging/正文.txt.doc"
    printf 'real content: a photo stands here\r\n' >"$staging/photo.jpg"
    printf '<html><body>广告</body></html>\r\n' >"$staging/广告.htm"
    printf '[InternetShortcut]\r\nURL=http://example.com/\r\n' >"$staging/访问本站.url"
    printf 'downloaded from example.com\r\n' >"$staging/readme.txt"
    mkdir -p "$staging/图片"
    printf 'picture data\r\n' >"$staging/图片/风景.png"
    printf '<html>more ads</html>\r\n' >"$staging/图片/index.htm"
}
mkdir -p "$sample/子目录/更深" "$sample/my archives"
make_content; rar a "$sample/资料一.rar" 正文.txt.doc photo.jpg 广告.htm 访问本站.url readme.txt 图片
make_content; rar a -ma4 "$sample/子目录/资料二 (RAR4).rar" 正文.txt.doc 广告.htm 访问本站.url 图片
make_content; rar a "$sample/子目录/更深/照片.rar" photo.jpg 图片 广告.htm
make_content; rar a "$sample/my archives/notes.rar" readme.txt 正文.txt.doc 访问本站.url
# Windows paths of the sample, for the window.
sample_win="Z:${sample//\//\\}"

list_archives() {
    find "$sample" -name '*.rar' | sort | while read -r archive; do
        echo "-- ${archive#$sample/}"
        bsdtar -tf "$archive" | sed 's/^/   /'
    done
}
echo "== what the archives hold before the run"
list_archives

if [ -z "$headless" ]; then
    echo "== opening Brindle; choose $sample_win, tick 包含子目录, press 执行"
    (cd "$program" && "$build/wine-run" "$program/Brindle.exe")
    echo "== what the archives hold now"
    list_archives
    exit 0
fi

echo "== one run through the window: folder, include subfolders, Execute (pattern *.htm)"
(cd "$program" && "$build/wine-run" "$program/Brindle.exe" &)
"$build/wine-run" "$build/bin/demo_driver.exe" "$sample_win" "Z:${demo//\//\\}\\log.txt"
import -window root "$demo/screenshot-full.png"
convert "$demo/screenshot-full.png" -trim "$demo/screenshot.png" 2>/dev/null || cp "$demo/screenshot-full.png" "$demo/screenshot.png"
echo "== screenshot: $demo/screenshot.png"
echo "== the message log"
tr -d '\r' <"$demo/log.txt"
echo
echo "== what the archives hold after the run"
list_archives
