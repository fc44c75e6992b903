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
