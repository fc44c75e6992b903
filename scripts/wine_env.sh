# Sourced by the other scripts: a Wine prefix of the build's own, quiet, with
# crash dialogs off (a crash then ends the program with a non-zero code), and
# sound through ALSA's file plugin so that what the gauge plays is captured.
# Expects BUILD_DIR to be set.
export WINEPREFIX="$BUILD_DIR/wineprefix"
export WINEDEBUG=-all
# No Mono, no Gecko; and no PulseAudio driver, so that sound goes to ALSA (and
# its capture file) without first trying a sound server that is not there.
export WINEDLLOVERRIDES="mscoree,mshtml,winepulse.drv="
export XDG_CONFIG_HOME="$BUILD_DIR/xdg"
export CLICK_CAPTURE="${CLICK_CAPTURE:-$BUILD_DIR/capture.wav}"
# Each opening of the sound device starts the capture file anew; with
# CLICK_CAPTURE_KEEP=yes every later opening writes FILE.0001, FILE.0002...
capture_truncate=true
[ "${CLICK_CAPTURE_KEEP:-}" = yes ] && capture_truncate=false

mkdir -p "$XDG_CONFIG_HOME/alsa"
cat > "$XDG_CONFIG_HOME/alsa/asoundrc" <<ALSA
pcm.!default { type file; slave.pcm "null"; file "$CLICK_CAPTURE"; format "wav"; truncate $capture_truncate }
ALSA

# on_display COMMAND [ARGUMENTS...]: runs the command on a virtual X display,
# with one Wine server for its whole run instead of one per program. The
# server, with every Wine program still running, ends before the display does:
# a Wine program that outlives its display says "X connection to :99 broken",
# which would be a run's last line. The first program of a server's life starts
# Wine's own services, which keep its standard output: they start from a
# program whose output goes nowhere, or a caller reading the command's output to
# its end (ctest, a pipe) would wait on them as long as the server lives.
on_display() {
    xvfb-run -a bash -c 'wineserver -p && wine cmd /c exit >/dev/null 2>&1 </dev/null
                         "$@"; status=$?; wineserver -k; exit $status' on_display "$@"
}

# A crash ends the program at once with a non-zero code: no crash dialog, and no
# debugger started on it (one that hangs would hold the crashed program).
if [ ! -f "$WINEPREFIX/.ready" ]; then
    echo "Preparing the Wine prefix in $WINEPREFIX (about 15 s the first time)"
    mkdir -p "$WINEPREFIX"
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null
    for view in 32 64; do
        wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
            /v Debugger /t REG_SZ /d '' /f /reg:$view >/dev/null
    done
    wineserver -w
    touch "$WINEPREFIX/.ready"
fi
