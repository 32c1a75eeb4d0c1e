#!/usr/bin/env bash
# Takes the README's picture of the main window: quorvel on the two demo cards (as "make run"
# starts it, or with the options given after the output) under a virtual X server, once the automatic refresh has filled both slot panes.
# Needs the developer packages: scripts/install-deps.sh --extra
set -euo pipefail
build_dir=${1:-build/dev}
out=${2:-docs/main-window.png}
shift 2 || true  # the rest are options for quorvel: --lang en for docs/main-window-en.png
# The Chinese window unless told otherwise, whatever this machine's locale.
[ $# -gt 0 ] || set -- --lang zh_TW
display=:${QUORVEL_SCREENSHOT_DISPLAY:-97}
Xvfb "$display" -screen 0 1024x768x24 >/dev/null 2>&1 &
xvfb=$!
app=""
cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
sleep 1
DISPLAY="$display" scripts/run-demo.sh "$build_dir" "$@" &
app=$!
sleep "${QUORVEL_SCREENSHOT_WAIT:-6}"
# Select the first save of slot 1, so that the selected-save panel is in the picture.
window=$(DISPLAY="$display" xdotool search --name '^Quorvel$' | head -n 1)
DISPLAY="$display" xdotool mousemove --window "$window" 264 62 click 1
sleep 1
# With QUORVEL_SCREENSHOT_DETAILS=1: a wider window, both slot panes in the details view (the
# last item of each pane's menu).
if [ "${QUORVEL_SCREENSHOT_DETAILS:-0}" = 1 ]; then
  DISPLAY="$display" xdotool windowmove "$window" 0 0 windowsize "$window" 1000 561
  sleep 1
  for x in 300 700; do
    DISPLAY="$display" xdotool mousemove --window "$window" "$x" 200 click 3
    sleep 0.5
    DISPLAY="$display" xdotool key Up Return
    sleep 0.5
  done
  DISPLAY="$display" xdotool mousemove --window "$window" 300 62 click 1
  sleep 1
fi
mkdir -p "$(dirname "$out")"
DISPLAY="$display" import -window root png:- | convert png:- -trim +repage "$out"
echo "wrote $out"
