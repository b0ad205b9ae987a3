#!/usr/bin/env bash
# Installs Velunor into a temporary prefix, checks the installed layout, the
# desktop entry and the metainfo, then starts the installed program through
# its link in a real X window, presses "Load Sample/Example Files" and checks
# that the program found its hand cursor and its samples beside the real
# executable.
#
# usage: install_test.sh PROGRAM_DIR BUILD_DIR SOURCE_DIR
set -euo pipefail
source "$(dirname "$0")/support/x_session.sh"
source "$(dirname "$0")/support/installed_layout.sh"
build_dir=$2

begin_x_session

root="$work/root"
prefix="$root/usr"
# Installing writes build/install_manifest.txt; a user's own installation
# keeps its manifest for uninstalling.
manifest="$build_dir/install_manifest.txt"
[ -f "$manifest" ] && cp "$manifest" "$work/manifest.saved"
cmake --install "$build_dir" --prefix "$prefix" >/dev/null
if [ -f "$work/manifest.saved" ]; then cp "$work/manifest.saved" "$manifest"; else rm -f "$manifest"; fi

check_installed_layout "$root"

start_program "$work/app.log" \
  strace -f -qq -e trace=openat,newfstatat,statx,stat -o "$work/trace" "$prefix/bin/velunor"
wait_for_window 150 || { cat "$work/app.log"; fail "the installed program showed no window"; }

wait_until_drawn "$window" 50 || fail "the installed program's window was not drawn"
# "Load Sample/Example Files" is the sixth control after the first focus.
press_by_keyboard "$window" 6
main_window=$window
wait_for_window 100 "$main_window" || fail "pressing Load Sample/Example Files asked no question"
wait_until_drawn "$window" 50 || true
DISPLAY=$display import -window root "$build_dir/installed-samples.png" || true
DISPLAY=$display xdotool key Escape || true

installed="$prefix/lib/velunor"
grep -q "\"$installed/HAND-M.CUR\".*= 0" "$work/trace" ||
  fail "the hand cursor beside the installed program was not read"
grep -q "\"$installed/Samples.*= [0-9]" "$work/trace" ||
  fail "the samples beside the installed program were not looked at"
echo "1 passed, 0 failed"
