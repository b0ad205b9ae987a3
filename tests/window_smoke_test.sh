#!/usr/bin/env bash
# Starts the real program in a real X window (Xvfb) with a fresh user
# profile, checks that the main window appears and that first start stored
# the defaults, and writes a screenshot of the window.
#
# usage: window_smoke_test.sh PROGRAM_DIR BUILD_DIR SOURCE_DIR
set -euo pipefail
source "$(dirname "$0")/support/xvfb.sh"
program_dir=$1
build_dir=$2

work=$(mktemp -d)
cleanup() {
  [ -n "${app_pid:-}" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A display number nobody uses.
start_xvfb

mkdir -p "$work/home/Desktop" "$work/config"
HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work" \
  DISPLAY=$display QT_QPA_PLATFORM=xcb "$program_dir/velunor" >"$work/app.log" 2>&1 &
app_pid=$!

window=""
for _ in $(seq 100); do
  window=$(DISPLAY=$display xwininfo -root -tree 2>/dev/null |
    awk '/"Velunor"/ && /536x510/ {print $1; exit}')
  [ -n "$window" ] && break
  kill -0 "$app_pid" 2>/dev/null || { cat "$work/app.log"; echo "velunor exited early"; exit 1; }
  sleep 0.1
done
[ -n "$window" ] || { cat "$work/app.log"; echo "the main window did not appear"; exit 1; }
echo "main window $window is up"

settings="$work/config/Tarvenic.conf"
grep -q '^\[Velunor\]' "$settings" || { echo "no [Velunor] group in $settings"; exit 1; }
grep -q "^Output%20Folder=$work/home/Desktop/\$" "$settings" ||
  { cat "$settings"; echo "the default output folder was not stored"; exit 1; }
grep -q '^Option1=True$' "$settings" || { cat "$settings"; echo "Option1 not stored"; exit 1; }

sleep 0.5
DISPLAY=$display import -window "$window" "$build_dir/screenshot.png"
echo "screenshot: $build_dir/screenshot.png"

# Closing the window ends the program at once.
DISPLAY=$display "$build_dir/tests/close_window" "$window" || { echo "could not ask the window to close"; exit 1; }
for _ in $(seq 30); do
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$app_pid" 2>/dev/null; then
  echo "velunor still runs after its window was closed"
  exit 1
fi
status=0
wait "$app_pid" || status=$?
app_pid=""
[ "$status" -eq 0 ] || { cat "$work/app.log"; echo "velunor ended with status $status"; exit 1; }

# Closing the window in the middle of a conversion ends the program at once
# too, and leaves the converter running. A stand-in converter that takes its
# time is already in the staging folder, where the run uses it as it finds it.
stage="$work/stage"
mkdir -m 700 "$stage"
cat >"$stage/sox" <<SCRIPT
#!/bin/sh
echo started >"$work/converter-started"
sleep 3
echo finished >"$work/converter-finished"
SCRIPT
chmod 755 "$stage/sox"
printf 'ID3' >"$work/song.mp3"
HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work" TEMP="$stage" \
  DISPLAY=$display QT_QPA_PLATFORM=xcb "$program_dir/velunor" "$work/song.mp3" >"$work/app2.log" 2>&1 &
app_pid=$!
window=""
for _ in $(seq 100); do
  window=$(DISPLAY=$display xdotool search --name '^Velunor$' 2>/dev/null | head -n 1 || true)
  [ -n "$window" ] && break
  sleep 0.1
done
[ -n "$window" ] || { cat "$work/app2.log"; echo "the second window did not appear"; exit 1; }
sleep 0.5
# "Start Converting" sits at (8, 440) with a size of 520 x 27.
DISPLAY=$display xdotool mousemove --window "$window" 268 453 click 1
for _ in $(seq 50); do
  [ -f "$work/converter-started" ] && break
  sleep 0.1
done
[ -f "$work/converter-started" ] || { cat "$work/app2.log"; echo "the conversion did not start"; exit 1; }
DISPLAY=$display "$build_dir/tests/close_window" "$window"
for _ in $(seq 10); do
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$app_pid" 2>/dev/null; then
  echo "velunor waited for the converter after its window was closed"
  exit 1
fi
app_pid=""
[ ! -f "$work/converter-finished" ] || { echo "the converter ended before the window closed"; exit 1; }
for _ in $(seq 50); do
  [ -f "$work/converter-finished" ] && break
  sleep 0.1
done
[ -f "$work/converter-finished" ] || { echo "the converter was stopped with the program"; exit 1; }
echo "1 passed, 0 failed"
