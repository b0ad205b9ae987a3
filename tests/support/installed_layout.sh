# Sourced by the tests of an installed Velunor: `cmake --install` into a
# scratch folder, or the Debian package unpacked into one. The caller defines
# `fail`.

app_id=org.velunor.Velunor

# check_installed_layout ROOT: checks the installation under ROOT/usr: the
# program and the window program it becomes with their companion files in
# lib/velunor, its translations, and the link bin/velunor leading to the program; the desktop entry, whose command and icon must be installed
# too; the metainfo, which must name that desktop entry; the manual page (and
# its NAME line in each language), the
# copyright notes and the change log; the bash completion, which must
# complete options, modes, folders and files.
check_installed_layout() {
  local root=$1
  local prefix=$root/usr
  local program=$prefix/lib/velunor/velunor
  [ -x "$program" ] && [ -f "$program" ] || fail "no program in lib/velunor"
  [ -x "$prefix/lib/velunor/velunor-window" ] && [ -f "$prefix/lib/velunor/velunor-window" ] ||
    fail "no window program beside the program"
  [ -f "$prefix/lib/velunor/modules/velunor-foreign-tags.so" ] && [ ! -x "$prefix/lib/velunor/modules/velunor-foreign-tags.so" ] ||
    fail "no reader of other formats' tags beside the program"
  [ -L "$prefix/bin/velunor" ] || fail "bin/velunor is not a link"
  [ "$(readlink -f "$prefix/bin/velunor")" = "$(readlink -f "$program")" ] ||
    fail "bin/velunor does not lead to the program"
  local companion samples
  for companion in HAND-M.CUR drag.ico; do
    [ -s "$prefix/lib/velunor/$companion" ] || fail "no $companion beside the program"
  done
  samples=$(find "$prefix/lib/velunor/Samples" -maxdepth 1 -type f -name '*.mp3' | wc -l)
  [ "$samples" -ge 1 ] || fail "no sample files installed"

  local desktop=$prefix/share/applications/$app_id.desktop command icon
  [ -f "$desktop" ] || fail "no desktop entry $app_id.desktop"
  desktop-file-validate "$desktop" || fail "desktop entry rejected"
  grep -q '^MimeType=audio/mpeg;$' "$desktop" || fail "desktop entry offers no audio/mpeg"
  grep -q '^Categories=AudioVideo;' "$desktop" || fail "desktop entry not in AudioVideo"
  command=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
  [ -n "$command" ] && [ -x "$prefix/bin/$command" ] ||
    fail "the desktop entry starts '$command', which is not in bin"
  icon=$(sed -n 's/^Icon=//p' "$desktop")
  [ -n "$icon" ] && [ -s "$prefix/share/icons/hicolor/256x256/apps/$icon.png" ] ||
    fail "the desktop entry's icon '$icon' is not in hicolor"

  local metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
  [ -f "$metainfo" ] || fail "no metainfo $app_id.metainfo.xml"
  grep -q "<id>$app_id</id>" "$metainfo" || fail "the metainfo's id is not $app_id"
  # The tree check also finds the desktop entry the metainfo launches.
  appstreamcli validate-tree --no-net "$root" || fail "metainfo rejected"

  gzip -t "$prefix/share/man/man1/velunor.1.gz" || fail "no manual page"
  # Each language: the catalogues beside the program, which the installed
  # program finds, and the manual page's short description.
  local language
  for language in de es fr it; do
    [ -s "$prefix/lib/velunor/translations/velunor_$language.qm" ] &&
      [ -s "$prefix/lib/velunor/translations/velunor_window_$language.qm" ] ||
      fail "no $language catalogues beside the program"
    zcat "$prefix/share/man/$language/man1/velunor.1.gz" | grep -q '^velunor \\- ' ||
      fail "no $language manual page"
  done
  LANGUAGE='' LC_ALL=de_DE.UTF-8 "$program" --help | head -1 | grep -q '^Aufruf:' ||
    fail "the installed program does not speak German"
  gzip -t "$prefix/share/doc/velunor/changelog.gz" || fail "no change log"
  [ -s "$prefix/share/doc/velunor/copyright" ] || fail "no copyright notes"

  check_completion "$prefix/share/bash-completion/completions/velunor"
}

# completions_of FILE WORD...: what the completion in FILE offers for the
# last WORD of the command line WORD..., one per line, sorted.
completions_of() {
  local file=$1
  shift
  bash -c '
    source /usr/share/bash-completion/bash_completion
    source "$1"
    shift
    COMP_WORDS=("$@")
    COMP_CWORD=$(($# - 1))
    COMP_LINE="$*"
    COMP_POINT=${#COMP_LINE}
    _velunor velunor "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    printf "%s\n" "${COMPREPLY[@]}"' completion "$file" "$@" | sort
}

# check_completion FILE: the completion offers the options, the three modes,
# only folders after --output, and files and folders as paths.
check_completion() {
  local file places
  file=$(realpath "$1")
  [ -s "$file" ] || fail "no bash completion installed"
  [ "$(completions_of "$file" velunor --b)" = "--batch" ] ||
    fail "the completion does not offer --batch"
  [ "$(completions_of "$file" velunor --batch --mode "")" = "$(printf 'left\nmix\nright')" ] ||
    fail "the completion does not offer the three modes"
  [ "$(completions_of "$file" velunor --batch --mode=r)" = "right" ] ||
    fail "the completion does not complete --mode=r"
  places=$(mktemp -d)
  mkdir "$places/albums"
  : >"$places/a song.mp3"
  [ "$(cd "$places" && completions_of "$file" velunor --batch --output "")" = "albums" ] ||
    fail "the completion offers more than folders after --output"
  [ "$(cd "$places" && completions_of "$file" velunor --batch "")" = "$(printf 'a song.mp3\nalbums')" ] ||
    fail "the completion does not offer files and folders as paths"
  rm -rf "$places"
}
