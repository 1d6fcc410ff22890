# Sourced by the project's scripts: Wine prefix, display and a persistent wineserver for one build tree.
# Usage: wine_start BUILD_DIR || exit 1; ... ; wine_stop
# wine_start answers non-zero, with the reason on stderr, when the display or the prefix cannot be
# brought up. wine_stop ends what wine_start started and gives DISPLAY back the value it had before.

# True when an X server answers on the display.
display_alive() {
    [ -n "${1:-}" ] && xdpyinfo -display "$1" >/dev/null 2>&1
}

wine_start() {
    local build=$1
    export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    export WINEPREFIX="$build/wineprefix"
    export WINELOADER=/usr/lib/wine/wine64
    [ -x "$WINELOADER" ] || WINELOADER=$(command -v wine)

    BRINDLE_DISPLAY_BEFORE=${DISPLAY-__unset__}
    if [ -n "${BRINDLE_OWN_DISPLAY:-}" ] || ! display_alive "${DISPLAY:-}"; then
        local display=$(( 90 + RANDOM % 800 ))
        while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
        Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        BRINDLE_XVFB_PID=$!
        export DISPLAY=":$display"
        # A first start on a fresh machine compiles its keymaps and can take several seconds.
        for _ in $(seq 300); do display_alive "$DISPLAY" && break; sleep 0.1; done
        if ! display_alive "$DISPLAY"; then
            echo "wine_start: the virtual display $DISPLAY (Xvfb) did not come up" >&2
            wine_stop
            return 1
        fi
    fi
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "Creating the Wine prefix $WINEPREFIX"
        "$WINELOADER" wineboot -i >/dev/null 2>&1 || true
        # The registry reaches the disk when wineboot's server ends.
        /usr/lib/wine/wineserver -w 2>/dev/null || true
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
            echo "wine_start: wineboot could not create the Wine prefix $WINEPREFIX" >&2
            wine_stop
            return 1
        fi
    fi
    # A crash ends the crashing program, as on Windows where the child inherits an error mode without fault
    # dialogs; Wine ignores that mode and would start its debugger's dialog.
    if ! grep -q '"ShowCrashDialog"=dword:00000000' "$WINEPREFIX/user.reg" 2>/dev/null; then
        "$WINELOADER" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 || true
    fi
    # A network share for the tests: Wine answers \\brindle-nas\scratch with the build's scratch folder.
    mkdir -p "$WINEPREFIX/dosdevices/unc/brindle-nas"
    ln -sfn "$build/scratch" "$WINEPREFIX/dosdevices/unc/brindle-nas/scratch"
    # A persistent server makes each test process start in a fraction of a second. The server that
    # wineboot left behind is replaced, since a second server on the same prefix refuses to start.
    /usr/lib/wine/wineserver -k 2>/dev/null || true
    /usr/lib/wine/wineserver -w 2>/dev/null || true
    if ! /usr/lib/wine/wineserver -p </dev/null >/dev/null 2>&1; then
        echo "wine_start: the persistent wineserver for $WINEPREFIX did not start" >&2
        wine_stop
        return 1
    fi
    "$WINELOADER" cmd /c exit >/dev/null 2>&1 || true
}

wine_stop() {
    /usr/lib/wine/wineserver -k 2>/dev/null || true
    /usr/lib/wine/wineserver -w 2>/dev/null || true
    if [ -n "${BRINDLE_XVFB_PID:-}" ]; then
        kill "$BRINDLE_XVFB_PID" 2>/dev/null || true
        wait "$BRINDLE_XVFB_PID" 2>/dev/null || true
        unset BRINDLE_XVFB_PID
    fi
    # The shell gets its own display back, so the next wine_start never inherits one that is gone.
    if [ -n "${BRINDLE_DISPLAY_BEFORE+x}" ]; then
        if [ "$BRINDLE_DISPLAY_BEFORE" = __unset__ ]; then
            unset DISPLAY
        else
            export DISPLAY=$BRINDLE_DISPLAY_BEFORE
        fi
        unset BRINDLE_DISPLAY_BEFORE
    fi
}

# True when this machine can execute 32-bit x86 code (Wine's 32-bit loader needs it).
can_run_32bit() {
    [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1
}
