# Sourced by tools/test and tools/run: a virtual X display and a fresh Wine prefix that live as long as the
# calling script, and nothing outside the session's own temporary folder is touched.
#
#   start_wine_session [--keep-display]   sets DISPLAY (unless kept), WINEPREFIX, WINEDEBUG, WINEDLLOVERRIDES,
#                                         SESSION_DIR and SCRATCH_DRIVE (the Linux folder behind drive T:)
#   stop_wine_session                     ends Wine and Xvfb and removes the session folder

SESSION_DIR=""
XVFB_PID=""

start_wine_session() {
    local keep_display=0
    [ "${1:-}" = "--keep-display" ] && keep_display=1
    SESSION_DIR=$(mktemp -d /tmp/suite-wine.XXXXXX)
    export WINEPREFIX="$SESSION_DIR/prefix"
    export WINEDEBUG=-all
    # A fresh prefix would otherwise offer to download Mono and Gecko; winemenubuilder would copy the
    # shortcuts and file types that installers and programs make into the Linux desktop's menus.
    export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
    export WINEARCH=win64

    if [ "$keep_display" = 0 ] || [ -z "${DISPLAY:-}" ]; then
        # Xvfb picks a free display itself and writes its number once it accepts connections.
        Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$SESSION_DIR/display" >"$SESSION_DIR/xvfb.log" 2>&1 &
        XVFB_PID=$!
        local waited=0
        until [ -s "$SESSION_DIR/display" ]; do
            sleep 0.1
            waited=$((waited + 1))
            if [ $waited -gt 200 ] || ! kill -0 "$XVFB_PID" 2>/dev/null; then
                echo "Xvfb did not start" >&2
                return 1
            fi
        done
        export DISPLAY=":$(tr -d '[:space:]' <"$SESSION_DIR/display")"
    fi

    # A persistent server, started first, keeps the services wineboot starts (winedevice, explorer) alive
    # for the whole session; started later by a test, they would inherit and hold its output pipe.
    # Everything Wine starts here writes to the session log, never to the caller's pipes.
    local log="$SESSION_DIR/wine.log"
    mkdir -p "$WINEPREFIX"
    wineserver -p </dev/null >>"$log" 2>&1
    wineboot --init </dev/null >>"$log" 2>&1 || { cat "$log" >&2; return 1; }
    # One virtual desktop: windows get focus and captions without a window manager.
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f </dev/null >>"$log" 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f </dev/null >>"$log" 2>&1
    # Drive T: is a scratch folder, so the browse-for-folder dialog shows a small, known tree. Linked before
    # the restart: the mount manager lists only the drives it finds when it starts (paths on T: would work
    # either way, but the shell's "My Computer" would not show the drive).
    SCRATCH_DRIVE="$SESSION_DIR/scratch"
    mkdir -p "$SCRATCH_DRIVE"
    ln -s "$SCRATCH_DRIVE" "$WINEPREFIX/dosdevices/t:"
    # The desktop wineboot made is a plain X root; start again so the virtual desktop takes effect.
    wineserver -k </dev/null >>"$log" 2>&1 || true
    wineserver -w </dev/null >>"$log" 2>&1 || true
    wineserver -p </dev/null >>"$log" 2>&1
    wineboot </dev/null >>"$log" 2>&1
    export SCRATCH_DRIVE SESSION_DIR
}

stop_wine_session() {
    [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null && wait "$XVFB_PID" 2>/dev/null
    [ -n "$SESSION_DIR" ] && rm -rf "$SESSION_DIR"
    XVFB_PID=""
    SESSION_DIR=""
}
