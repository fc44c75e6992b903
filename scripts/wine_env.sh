# Sourced by the other scripts: a Wine prefix of the build's own, quiet, with
# crash dialogs off (a crash then ends the program with a non-zero code), and
# sound through ALSA's file plugin so that what the gauge plays is captured.
# Expects BUILD_DIR to be set.
export WINEPREFIX="$BUILD_DIR/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export XDG_CONFIG_HOME="$BUILD_DIR/xdg"
export CLICK_CAPTURE="${CLICK_CAPTURE:-$BUILD_DIR/capture.wav}"

mkdir -p "$XDG_CONFIG_HOME/alsa"
cat > "$XDG_CONFIG_HOME/alsa/asoundrc" <<ALSA
pcm.!default { type file; slave.pcm "null"; file "$CLICK_CAPTURE"; format "wav" }
ALSA

if [ ! -f "$WINEPREFIX/.ready" ]; then
    echo "Preparing the Wine prefix in $WINEPREFIX (about 15 s the first time)"
    mkdir -p "$WINEPREFIX"
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null
    wineserver -w
    touch "$WINEPREFIX/.ready"
fi
