# Sourced by the project's scripts: Wine prefix, display and a persistent wineserver for one build tree.
# Usage: wine_start BUILD_DIR; ... ; wine_stop

wine_start() {
    local build=$1
    export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    export WINEPREFIX="$build/wineprefix"
    export WINELOADER=/usr/lib/wine/wine64
    [ -x "$WINELOADER" ] || WINELOADER=$(command -v wine)
    if [ -z "${DISPLAY:-}" ] || [ -n "${BRINDLE_OWN_DISPLAY:-}" ]; then
        local display=$(( 90 + RANDOM % 800 ))
        while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
        Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
        BRINDLE_XVFB_PID=$!
        export DISPLAY=":$display"
        for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
    fi
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "Creating the Wine prefix $WINEPREFIX"
        "$WINELOADER" wineboot -i >/dev/null 2>&1 || true
    fi
    # A persistent server makes each test process start in a fraction of a second. The server that
    # wineboot left behind is replaced, since a second server on the same prefix refuses to start.
    /usr/lib/wine/wineserver -k 2>/dev/null || true
    /usr/lib/wine/wineserver -w 2>/dev/null || true
    /usr/lib/wine/wineserver -p </dev/null >/dev/null 2>&1 || { echo "wineserver did not start" >&2; return 1; }
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
}

# True when this machine can execute 32-bit x86 code (Wine's 32-bit loader needs it).
can_run_32bit() {
    [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1
}
