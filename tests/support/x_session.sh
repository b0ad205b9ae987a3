# Sourced by the tests that run the program in a real X window.
#
# begin_x_session: makes the scratch folder `work` (removed at exit, together
# with the program started as `app_pid` and the X server) and starts Xvfb on
# a display number that Xvfb itself picks as free, so that tests running side
# by side never share one; sets `display`.

fail() {
  echo "FAIL: $*"
  exit 1
}

end_x_session() {
  [ -n "${app_pid:-}" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}

begin_x_session() {
  work=$(mktemp -d)
  trap end_x_session EXIT
  local number_file="$work/display-number" _
  # Without -noreset the server starts over each time its last client leaves
  # (the readiness probe below, the first program), and a program connecting
  # just then is refused the display.
  Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp -noreset 3>"$number_file" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do
    if [ -s "$number_file" ]; then
      display=":$(tr -d '[:space:]' <"$number_file")"
      DISPLAY=$display xwininfo -root >/dev/null 2>&1 && return 0
      fail "Xvfb on $display does not answer"
    fi
    sleep 0.1
  done
  fail "Xvfb did not start"
}

# wait_for_window TENTHS [ID...]: sets `window` to a shown window titled
# "Velunor" other than the ids given, waiting up to TENTHS tenths of a second;
# fails when none appears. Small passing windows (tool tips) do not count.
wait_for_window() {
  local tenths=$1 _ candidate WIDTH HEIGHT
  shift
  window=""
  for _ in $(seq "$tenths"); do
    for candidate in $(DISPLAY=$display xdotool search --onlyvisible --name '^Velunor$' 2>/dev/null); do
      [[ " $* " == *" $candidate "* ]] && continue
      eval "$(DISPLAY=$display xdotool getwindowgeometry --shell "$candidate" 2>/dev/null |
        grep -E '^(WIDTH|HEIGHT)=[0-9]+$')" || continue
      [ "${WIDTH:-0}" -ge 100 ] && [ "${HEIGHT:-0}" -ge 50 ] || continue
      window=$candidate
      return 0
    done
    sleep 0.1
  done
  return 1
}

# ends_within PID TENTHS: true when the process has ended within TENTHS
# tenths of a second.
ends_within() {
  local _
  for _ in $(seq "$2"); do
    kill -0 "$1" 2>/dev/null || return 0
    sleep 0.1
  done
  ! kill -0 "$1" 2>/dev/null
}

# is_alive PID: true while the process runs. A zombie has ended: a process
# whose parent died waits as one until someone reaps it, which not every
# container's first process does.
is_alive() {
  local state
  state=$(sed -n 's/^State:[[:space:]]*\([A-Z]\).*/\1/p' "/proc/$1/status" 2>/dev/null) || return 1
  [ -n "$state" ] && [ "$state" != Z ] && [ "$state" != X ]
}

# gone_within PID TENTHS: true when the process has ended within TENTHS
# tenths of a second; unlike ends_within, for any process, not only children
# of this shell.
gone_within() {
  local _
  for _ in $(seq "$2"); do
    is_alive "$1" || return 0
    sleep 0.1
  done
  ! is_alive "$1"
}

# appears_within FILE TENTHS: true when the file exists within TENTHS tenths
# of a second.
appears_within() {
  local _
  for _ in $(seq "$2"); do
    [ -e "$1" ] && return 0
    sleep 0.1
  done
  [ -e "$1" ]
}

# wait_until_drawn WINDOW TENTHS: true once the window shows more than a
# blank face, that is once its controls have been painted.
wait_until_drawn() {
  local _ colours
  for _ in $(seq "$2"); do
    colours=$(DISPLAY=$display import -window "$1" -format '%k' info: 2>/dev/null || echo 0)
    [ "${colours:-0}" -gt 8 ] && return 0
    sleep 0.1
  done
  return 1
}

# press_by_keyboard WINDOW TABS: gives the window the keyboard, moves TABS
# controls on in its keyboard order from the first focus and presses Space
# there, as a user without a mouse would; no control's place on the screen
# is assumed.
press_by_keyboard() {
  local keys=() _
  for _ in $(seq "$2"); do keys+=(Tab); done
  DISPLAY=$display xdotool windowfocus --sync "$1"
  DISPLAY=$display xdotool key --delay 30 "${keys[@]}" space
}

# start_program LOG [ENVIRONMENT...] -- COMMAND...: starts the program with a
# fresh home and settings folder in `work`, sets `app_pid`. The environment
# given comes last and wins. SIGINT is put back to its default: a script's
# background job is started with it ignored, a program started from the
# desktop is not.
start_program() {
  local log=$1
  shift
  mkdir -p "$work/home/Desktop" "$work/config"
  env --default-signal=INT HOME="$work/home" XDG_CONFIG_HOME="$work/config" \
    XDG_RUNTIME_DIR="$work" DISPLAY="$display" QT_QPA_PLATFORM=xcb "$@" >"$log" 2>&1 &
  app_pid=$!
}
