#!/usr/bin/env bash
# Starts the real program in a real X window (Xvfb) with a fresh user
# profile, checks that the main window appears and that first start stored
# the defaults, writes a screenshot of the window, and closes it the way a
# window manager does: at once, also in the middle of a conversion, which then
# ends with the program and leaves nothing behind.
#
# usage: window_smoke_test.sh PROGRAM_DIR BUILD_DIR SOURCE_DIR
set -euo pipefail
source "$(dirname "$0")/support/x_session.sh"
program_dir=$1
build_dir=$2
close_window="$build_dir/tests/close_window"

begin_x_session
start_program "$work/app.log" "$program_dir/velunor"
wait_for_window 100 || { cat "$work/app.log"; fail "the main window did not appear"; }
echo "main window $window is up"

settings="$work/config/Tarvenic.conf"
grep -q '^\[Velunor\]' "$settings" || fail "no [Velunor] group in $settings"
grep -q "^Output%20Folder=$work/home/Desktop/\$" "$settings" ||
  { cat "$settings"; fail "the default output folder was not stored"; }
grep -q '^Option1=True$' "$settings" || { cat "$settings"; fail "Option1 not stored"; }

wait_until_drawn "$window" 50 || fail "the main window was not drawn"
DISPLAY=$display import -window "$window" "$build_dir/screenshot.png"
echo "screenshot: $build_dir/screenshot.png"

DISPLAY=$display "$close_window" "$window" || fail "could not ask the window to close"
ends_within "$app_pid" 30 || fail "velunor still runs after its window was closed"
status=0
wait "$app_pid" || status=$?
app_pid=""
[ "$status" -eq 0 ] || { cat "$work/app.log"; fail "velunor ended with status $status"; }

# In the middle of a conversion. A stale converter left in the staging folder
# (another version's, say) is never run: it is replaced by the program's own,
# which converts a long input until the window is closed.
stage="$work/stage"
mkdir -m 700 "$stage"
cat >"$stage/sox" <<SCRIPT
#!/bin/sh
touch "$work/stale-converter-ran"
exec sleep infinity
SCRIPT
chmod 755 "$stage/sox"
# An MP3 is a stream of frames: copies of one minute joined end to end play
# for twenty, at the cost of making one.
sox -n -c 2 -r 44100 "$work/minute.mp3" synth 60 sine 440 sine 1000
for _ in $(seq 20); do cat "$work/minute.mp3"; done >"$work/song.mp3"
start_program "$work/app2.log" TEMP="$stage" "$program_dir/velunor" "$work/song.mp3"
wait_for_window 100 || { cat "$work/app2.log"; fail "the second window did not appear"; }
wait_until_drawn "$window" 50 || fail "the second window was not drawn"
# "Start Converting" is the fourth control after the first focus.
press_by_keyboard "$window" 4
converter_pid=""
for _ in $(seq 300); do
  converter_pid=$(pgrep -P "$app_pid" -x sox | head -n 1 || true)
  [ -n "$converter_pid" ] && break
  sleep 0.1
done
[ -n "$converter_pid" ] || { cat "$work/app2.log"; fail "the conversion did not start"; }
cmp -s "$stage/sox" /usr/bin/sox || fail "the stale converter was not replaced"
[ ! -e "$work/stale-converter-ran" ] || fail "the stale converter was run"
DISPLAY=$display "$close_window" "$window"
ends_within "$app_pid" 30 || fail "velunor did not end after its window was closed"
app_pid=""
gone_within "$converter_pid" 50 || fail "the converter outlived the program"
[ -z "$(ls -A "$stage")" ] || { ls -la "$stage"; fail "the staging folder was not cleaned up"; }
desktop="$work/home/Desktop"
[ -z "$(ls -A "$desktop")" ] || { ls -la "$desktop"; fail "an unfinished output was left"; }
echo "1 passed, 0 failed"
