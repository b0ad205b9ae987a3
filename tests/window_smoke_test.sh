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

# Closing the window ends the program.
kill -TERM "$app_pid"
wait "$app_pid" 2>/dev/null || true
app_pid=""
echo "1 passed, 0 failed"
