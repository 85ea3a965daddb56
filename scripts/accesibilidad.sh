#!/usr/bin/env bash
# Developer check, not part of the test suite: runs the program under a real
# X server (Xvfb) with an accessibility bus, walks every menu option from the
# keyboard only (xdotool) and prints, per screen, the accessible tree that a
# screen reader sees over AT-SPI (role, name, id, states), the Tab order, and
# whether Escape leaves. It also runs a long reduction (fourteen triples,
# method 2, errors 0 to 14) and checks that the window keeps repainting and
# that Escape stops the run. Findings are listed at the end.
#
#   scripts/accesibilidad.sh [REPORT_FILE]
#
# Needs (Debian): xvfb at-spi2-core dbus-x11 xdotool python3-gi gir1.2-atspi-2.0;
# the program built in ./build (scripts/build.sh). It works on a scratch copy
# of the program in a temporary folder, which is also its data folder.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR="${TOBAL31_BUILD_DIR:-build}"
INFORME="${1:-/dev/stdout}"

for orden in Xvfb dbus-launch xdotool /usr/libexec/at-spi-bus-launcher; do
    command -v "$orden" >/dev/null || {
        echo "missing $orden: apt-get install xvfb at-spi2-core dbus-x11 xdotool python3-gi gir1.2-atspi-2.0" >&2
        exit 2
    }
done
/usr/bin/python3 -c 'import gi; gi.require_version("Atspi", "2.0")' 2>/dev/null || {
    echo "missing AT-SPI for Python: apt-get install python3-gi gir1.2-atspi-2.0" >&2
    exit 2
}
[ -x "$BUILD_DIR/tobal31" ] || { echo "build the program first: scripts/build.sh" >&2; exit 2; }

TMP="$(mktemp -d)"
PIDS=()
limpia() {
    for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null || true; done
    [ -n "${DBUS_SESSION_BUS_PID:-}" ] && kill "$DBUS_SESSION_BUS_PID" 2>/dev/null || true
    rm -rf "$TMP"
}
trap limpia EXIT

# The scratch data folder: the program's own folder, with matchday 1 dated
# and quiet settings (no sounds).
mkdir -p "$TMP/datos" "$TMP/fb"
cp "$BUILD_DIR/tobal31" "$TMP/datos/"
printf '1,"06/12/26",1,2,0,0,0,0,1,42,"0.5 ","00","00000","No"\r\n' >"$TMP/datos/DATOSGEN.TBX"
if [ -x "$BUILD_DIR/tobal31-cli" ]; then
    "$BUILD_DIR/tobal31-cli" --datos "$TMP/datos" equipos --añadir "Real Madrid" "Barcelona" "Sevilla" \
        >/dev/null 2>&1 || true
    "$BUILD_DIR/tobal31-cli" --datos "$TMP/datos" jornada 1 --fecha 06/12/26 \
        --partido 1 "Real Madrid" "Barcelona" >/dev/null 2>&1 || true
    "$BUILD_DIR/tobal31-cli" --datos "$TMP/datos" reducir --jornada 1 --orden 2 --metodo 2 --errores 0,1 \
        --base "1X*=X 1X2*=2 X2*=2 1 1 1 1 1 1 1 1 1 1 1 1" >/dev/null 2>&1 || true
fi

PANTALLA=":$((90 + RANDOM % 100))"
Xvfb "$PANTALLA" -screen 0 1024x768x24 -fbdir "$TMP/fb" -nolisten tcp >/dev/null 2>&1 &
PIDS+=($!)
export DISPLAY="$PANTALLA"
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done

eval "$(dbus-launch --sh-syntax)"
export XDG_RUNTIME_DIR="$TMP/run"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
PIDS+=($!)
sleep 1
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 QT_QPA_PLATFORM=xcb

"$TMP/datos/tobal31" >"$TMP/programa.log" 2>&1 &
PROGRAMA=$!
PIDS+=("$PROGRAMA")

estado=0
/usr/bin/python3 scripts/accesibilidad.py "$PROGRAMA" "$TMP/fb/Xvfb_screen0" >"$INFORME" || estado=$?
if [ -s "$TMP/programa.log" ]; then
    { echo; echo "Program output:"; cat "$TMP/programa.log"; } >>"$INFORME"
fi
exit "$estado"
