#!/usr/bin/env bash
# Runs the README's recipe for an archive too big for one machine, as it is
# written there, with GNU parallel handing the folders of a small archive to
# the built program on this machine alone (--sshlogin 1/:): a folder that
# converts, and one with a file that does not, which the job log must name
# with exit status 1 and which --retry-failed converts once it is mended.
#
# usage: batch_parallel_test.sh PROGRAM_DIR BUILD_DIR SOURCE_DIR
set -euo pipefail
program_dir=$(realpath "$1")
source_dir=$(realpath "$3")

fail() {
  echo "FAIL: $*"
  exit 1
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir -p home config runtime staging archive/"Book One"/"Part 2" archive/Broken mono
chmod 700 staging runtime
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/runtime \
  TEMP=$work/staging PATH=$program_dir:$PATH
# GNU parallel asks once per user to be cited before it runs quietly.
mkdir -p "$HOME/.parallel" && : >"$HOME/.parallel/will-cite"

stereo() { sox -n -r 44100 -c 2 "$1" synth 1 sine 440 sine 1000 vol 0.5; }
stereo "archive/Book One/Chapter 1.mp3"
stereo "archive/Book One/Part 2/Chapter 2.mp3"
stereo archive/Broken/fine.mp3
echo "no audio in here" >archive/Broken/damaged.mp3

# The recipe's lines after its first, which names the places and the hosts.
recipe=$(sed -n '/^<!-- several machines:/,/^```$/p' "$source_dir/README.md" | sed '1,2d;$d')
first=$(sed -n '/^<!-- several machines:/,/^```$/p' "$source_dir/README.md" | sed -n 3p)
[[ $first == archive=* ]] || fail "the README's recipe does not begin by naming the places"
[ -n "$recipe" ] || fail "no recipe in the README"
archive=$work/archive mono=$work/mono hosts=1/:
# Everything up to the look into the job log, then that look, on its own.
lines=${recipe#*$'\n'}
set +e
eval "${lines%$'\n'*}" >runs.out 2>&1
set -e
failures=$(eval "${lines##*$'\n'}")

[ "$(wc -l <folders.txt)" -eq 2 ] || fail "the recipe did not list the two folders"
[ "$failures" = "1: mkdir -p $mono/Broken && velunor --batch --output $mono/Broken $archive/Broken" ] ||
  fail "the job log did not name the failed folder alone: '$failures'"
for output in "Book One/Chapter 1.mp3" "Book One/Chapter 2.mp3" "Broken/fine.mp3"; do
  [ "$(soxi -c "mono/$output")" = 1 ] || fail "mono/$output is not a mono MP3"
done
[ ! -e mono/Broken/damaged.mp3 ] || fail "the damaged file gave an output"

stereo archive/Broken/damaged.mp3
parallel --retry-failed --sshlogin "$hosts" --joblog velunor.log >/dev/null ||
  fail "the failed folder failed again once mended"
[ "$(soxi -c mono/Broken/damaged.mp3)" = 1 ] || fail "the mended file was not converted"
echo "1 passed, 0 failed"
