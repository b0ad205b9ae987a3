# Sourced by the tests that need a real X display. start_xvfb starts Xvfb on
# a display number that Xvfb itself picks as free (so that tests running side
# by side never share one) and sets `display` and `xvfb_pid`; the caller
# kills xvfb_pid when done.
start_xvfb() {
  local number_file
  number_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
  xvfb_pid=$!
  local _
  for _ in $(seq 100); do
    if [ -s "$number_file" ]; then
      display=":$(tr -d '[:space:]' <"$number_file")"
      rm -f "$number_file"
      DISPLAY=$display xwininfo -root >/dev/null 2>&1 && return 0
      echo "Xvfb on $display does not answer"
      return 1
    fi
    sleep 0.1
  done
  rm -f "$number_file"
  echo "Xvfb did not start"
  return 1
}
