# Sourced by the tests that need a real X display. start_xvfb FIRST LAST
# starts Xvfb on the first free display number in FIRST..LAST and sets
# `display` and `xvfb_pid`; the caller kills xvfb_pid when done.
start_xvfb() {
  display=""
  local number
  for number in $(seq "$1" "$2"); do
    if [ ! -e "/tmp/.X11-unix/X$number" ] && [ ! -e "/tmp/.X$number-lock" ]; then
      display=":$number"
      break
    fi
  done
  [ -n "$display" ] || { echo "no free X display"; return 1; }
  Xvfb "$display" -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  local _
  for _ in $(seq 50); do
    DISPLAY=$display xwininfo -root >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "Xvfb did not start on $display"
  return 1
}
