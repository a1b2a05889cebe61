#!/usr/bin/env bash
# What a screen reader sees of the program: starts it on a private X server with a window
# manager, inside a D-Bus session with the accessibility bus, and reads its accessible tree with
# pyatspi (check_a11y.py). Without that stack the test is skipped (exit code 77) with the reason.
#   tests/a11y/check_a11y.sh build-test/ionograph
set -u
program=${1:?usage: check_a11y.sh PROGRAM}
here=$(cd "$(dirname "$0")" && pwd)
launcher=/usr/libexec/at-spi-bus-launcher
missing=""
for tool in Xvfb openbox xdotool dbus-run-session; do
  command -v "$tool" >/dev/null 2>&1 || missing="$missing $tool"
done
[ -x "$launcher" ] || missing="$missing at-spi-bus-launcher"
/usr/bin/python3 -c 'import pyatspi' >/dev/null 2>&1 || missing="$missing python3-pyatspi"
if [ -n "$missing" ]; then
  echo "SKIPPED: no accessibility stack for the run, missing:$missing"
  exit 77
fi

tmp=$(mktemp -d)
cleanup() {
  [ -n "${wm:-}" ] && kill "$wm" 2>/dev/null
  [ -n "${xserver:-}" ] && kill "$xserver" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT
# Xvfb picks a free display and writes its number.
Xvfb -displayfd 3 -screen 0 1280x900x24 -nolisten tcp 3>"$tmp/display" >/dev/null 2>&1 &
xserver=$!
for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.1; done
if [ ! -s "$tmp/display" ]; then
  echo "SKIPPED: Xvfb did not start"
  exit 77
fi
export DISPLAY=:$(cat "$tmp/display")
openbox >/dev/null 2>&1 &
wm=$!

# A link folder and registry of its own, so that no other running instance takes the start.
mkdir -m 700 "$tmp/run"
export XDG_RUNTIME_DIR=$tmp/run QUILLON_REGISTRY=$tmp/registry.ini
export PROGRAM=$program CHECK=$here/check_a11y.py LAUNCHER=$launcher
export QT_QPA_PLATFORM=xcb QT_ACCESSIBILITY=1 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
export ASAN_OPTIONS=${ASAN_OPTIONS:-}:detect_leaks=0
dbus-run-session -- bash -c '
  "$LAUNCHER" --launch-immediately >/dev/null 2>&1 & bus=$!
  # The program looks for the accessibility bus once, at start.
  for _ in $(seq 100); do
    dbus-send --session --dest=org.a11y.Bus --print-reply /org/a11y/bus \
      org.a11y.Bus.GetAddress >/dev/null 2>&1 && break
    sleep 0.1
  done
  "$PROGRAM" --seed 1 --no-noise >/dev/null 2>&1 & app=$!
  /usr/bin/python3 "$CHECK"; rc=$?
  kill "$app" 2>/dev/null; wait "$app" 2>/dev/null
  kill "$bus" 2>/dev/null; wait "$bus" 2>/dev/null
  exit $rc'
