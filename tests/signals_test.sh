#!/usr/bin/env bash
# Ends the real program in a real X window (Xvfb) in the middle of a real
# conversion, the ways a session ends: SIGTERM (here while the question
# whether to stop the run is open), SIGINT, SIGHUP, SIGKILL and the X server
# going away. Each time the program must be gone within 3 seconds and no
# converter may go on. No unfinished output is left in the output folder
# (after SIGKILL, which leaves no chance to clean up, once the next run has
# cleared it away), the earlier output of the same name keeps every byte and
# the staging folder is empty.
#
# usage: signals_test.sh PROGRAM_DIR BUILD_DIR SOURCE_DIR
set -euo pipefail
source "$(dirname "$0")/support/x_session.sh"
program_dir=$1

begin_x_session
desktop="$work/home/Desktop"
mkdir -p "$desktop"

# Long enough that the conversion is still at work when the signal comes. An
# MP3 is a stream of frames: copies of one minute joined end to end play for
# twenty, at the cost of making one.
sox -n -c 2 -r 44100 "$work/minute.mp3" synth 60 sine 440 sine 1000
for _ in $(seq 20); do cat "$work/minute.mp3"; done >"$work/long.mp3"
sox -n -c 1 -r 44100 "$work/earlier.mp3" synth 1 sine 300

# converter_of PID TENTHS: prints the number of the converter the program
# runs, waiting up to TENTHS tenths of a second for one.
converter_of() {
  local _ found
  for _ in $(seq "$2"); do
    found=$(pgrep -P "$1" -x sox | head -n 1 || true)
    [ -n "$found" ] && { echo "$found"; return 0; }
    sleep 0.1
  done
  return 1
}

# end_during_conversion HOW: HOW is a signal name, or X for the X server.
end_during_conversion() {
  local how=$1 runtime="$work/runtime-$1" log="$work/$1.log" converter status
  mkdir -m 700 "$runtime"
  cp "$work/earlier.mp3" "$desktop/long.mp3"
  # The staging folder is the private one in the runtime folder.
  start_program "$log" TEMP= XDG_RUNTIME_DIR="$runtime" "$program_dir/velunor" "$work/long.mp3"
  wait_for_window 300 || { cat "$log"; fail "$how: the window did not appear"; }
  local main_window=$window
  wait_until_drawn "$main_window" 100 || fail "$how: the window was not drawn"
  # "Start Converting" is the fourth control after the first focus.
  press_by_keyboard "$main_window" 4
  converter=$(converter_of "$app_pid" 300) || { cat "$log"; fail "$how: no conversion started"; }
  compgen -G "$desktop/.velunor-*" >/dev/null || fail "$how: the converter has no output"

  if [ "$how" = TERM ]; then
    # "Start Converting" again, still focused, asks whether to stop.
    DISPLAY=$display xdotool key space
    wait_for_window 100 "$main_window" || fail "$how: the question to stop did not open"
  fi
  is_alive "$converter" || fail "$how: the conversion ended before the signal; make the input longer"
  case $how in
  X)
    kill "$xvfb_pid"
    xvfb_pid=""
    ;;
  *) kill -s "$how" "$app_pid" ;;
  esac
  ends_within "$app_pid" 30 || fail "$how: velunor still runs 3 seconds later"
  status=0
  wait "$app_pid" || status=$?
  app_pid=""
  echo "$how: velunor ended with status $status"
  gone_within "$converter" 50 || fail "$how: the converter outlived the program"
  cmp -s "$work/earlier.mp3" "$desktop/long.mp3" || fail "$how: the earlier output was changed"
  if [ "$how" = KILL ]; then
    # Nothing could clean up: the next run into the folder clears away what
    # the killed one left, and converts.
    compgen -G "$desktop/.velunor-*" >/dev/null || fail "$how: no leftover to clear away"
    cp "$work/earlier.mp3" "$work/short.mp3"
    start_program "$log.next" TEMP= XDG_RUNTIME_DIR="$runtime" "$program_dir/velunor" "$work/short.mp3"
    wait_for_window 300 || { cat "$log.next"; fail "$how: the next window did not appear"; }
    wait_until_drawn "$window" 100 || fail "$how: the next window was not drawn"
    press_by_keyboard "$window" 4
    appears_within "$desktop/short.mp3" 300 || fail "$how: the next run converted nothing"
    for _ in $(seq 100); do
      compgen -G "$desktop/.velunor-*" >/dev/null || break
      sleep 0.1
    done
    ! compgen -G "$desktop/.velunor-*" >/dev/null ||
      { ls -la "$desktop"; fail "$how: the next run left the killed run's leftovers"; }
    kill "$app_pid"
    ends_within "$app_pid" 30 || fail "$how: the next run did not end"
    app_pid=""
    rm -f "$desktop/short.mp3"
  else
    ! compgen -G "$desktop/.velunor-*" >/dev/null ||
      { ls -la "$desktop"; fail "$how: an unfinished output was left"; }
    local staging="$runtime/velunor"
    [ ! -e "$staging" ] || [ -z "$(ls -A "$staging")" ] ||
      { ls -la "$staging"; fail "$how: the staging folder was not emptied"; }
  fi
  echo "$how: passed"
}

# The X server goes last: the others need it.
for how in TERM INT HUP KILL X; do
  end_during_conversion "$how"
done
echo "5 passed, 0 failed"
