#!/usr/bin/env bash
# Checks of an installation of Quorvel, one step per call so that each is its own test:
#   check_install.sh setup BUILD_DIR PREFIX     install into PREFIX.staged, then move it to
#                                               PREFIX (the programs must follow the move)
#   check_install.sh desktop|appstream|man|programs|completion PREFIX VERSION APP_ID
#   check_install.sh cleanup PREFIX
set -euo pipefail

step=$1
shift

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

case $step in
  setup)
    build=$1 prefix=$2
    rm -rf "$prefix" "$prefix.staged"
    cmake --install "$build" --prefix "$prefix.staged" >/dev/null
    mv "$prefix.staged" "$prefix"
    exit 0
    ;;
  cleanup)
    rm -rf "$1"
    exit 0
    ;;
esac

prefix=$1 version=$2 app_id=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The commands "quorvel-cli help" lists, one name a line.
command_names() {
  "$prefix/bin/quorvel-cli" help | sed -n '/^commands:/,/^$/ s/^  \([a-z-]*\) .*/\1/p'
}

# "NAME ARGUMENTS" of every command, from "quorvel-cli help NAME".
command_usages() {
  local name
  for name in $(command_names); do
    "$prefix/bin/quorvel-cli" help "$name" | sed -n "s/^usage: quorvel-cli //p"
  done
}

case $step in
  desktop)
    entry="$prefix/share/applications/$app_id.desktop"
    [ -f "$entry" ] || fail "no desktop entry $entry"
    out=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate: $out"
    [ -z "$out" ] || fail "desktop-file-validate: $out"
    # From the menu the program keeps its files in the user's data folder.
    grep -qx 'Exec=quorvel --user-work-dir' "$entry" || fail "the entry's Exec line"
    icon=$(sed -n 's/^Icon=//p' "$entry")
    [ "$icon" = "$app_id" ] || fail "the entry's icon is '$icon', not $app_id"
    for size in scalable 16x16 24x24 32x32 48x48 64x64 128x128 256x256; do
      ext=png
      [ $size = scalable ] && ext=svg
      file="$prefix/share/icons/hicolor/$size/apps/$app_id.$ext"
      [ -s "$file" ] || fail "no icon $file"
      if [ $ext = png ]; then
        dims=$(file -b "$file")
        [[ $dims == *"${size/x/ x }"* ]] || fail "$file is not $size: $dims"
      fi
    done
    ;;
  appstream)
    meta="$prefix/share/metainfo/$app_id.metainfo.xml"
    [ -f "$meta" ] || fail "no AppStream file $meta"
    out=$(appstreamcli validate --no-net "$meta" 2>&1) || fail "appstreamcli: $out"
    grep -q "<release version=\"$version\"" "$meta" || fail "no release $version in $meta"
    grep -q "<launchable type=\"desktop-id\">$app_id.desktop<" "$meta" ||
      fail "the launchable is not $app_id.desktop"
    ;;
  man)
    for page in quorvel quorvel-cli; do
      file="$prefix/share/man/man1/$page.1.gz"
      [ -f "$file" ] || fail "no manual page $file"
      LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$file" >"$work/$page.txt" 2>"$work/err" ||
        fail "man -l $file failed: $(cat "$work/err")"
      [ ! -s "$work/err" ] || fail "man -l $file warns: $(cat "$work/err")"
      grep -qi "quorvel $version" "$work/$page.txt" ||
        fail "$page.1 does not name version $version"
    done
    # Every command of quorvel-cli, and every option its usage names, is in the manual.
    sed -n '/^COMMANDS/,/^OPTIONS/p' "$work/quorvel-cli.txt" >"$work/commands"
    while read -r name usage; do
      grep -Eq "^ {7}$name( |$)" "$work/commands" || fail "quorvel-cli.1 lacks the command $name"
      for option in $(grep -o -- '--[a-z-]*' <<<"$usage"); do
        grep -q -- "$option" "$work/commands" || fail "quorvel-cli.1 lacks $name $option"
      done
    done < <(command_usages)
    ;;
  programs)
    # The installed programs, moved away from where they were installed, find their data
    # there: a template of 241 blocks put into the installed data folder is the one used.
    cli="$prefix/bin/quorvel-cli"
    cd "$work"
    "$cli" new-image fresh.dcm || fail "new-image from the installed template"
    [ "$(stat -c %s fresh.dcm)" = 131072 ] || fail "new-image wrote $(stat -c %s fresh.dcm) bytes"
    "$cli" list fresh.dcm --json | grep -q '"free_blocks":200' || fail "fresh.dcm is not empty"
    "$cli" format fresh.dcm --blocks 241 || fail "format"
    template="$prefix/share/quorvel/dpnw.dc"
    cp "$template" original.dc
    cp fresh.dcm "$template"
    "$cli" new-image second.dcm || status=$?
    cp original.dc "$template"
    [ "${status:-0}" = 0 ] || fail "new-image from the replaced template"
    "$cli" list second.dcm --json | grep -q '"free_blocks":241' ||
      fail "new-image did not use the installed folder's template"
    # Started as the menu entry starts it, the window keeps its settings in the user's data
    # folder (created on first use), not in the current directory.
    mkdir -p cards menu
    (cd menu && QT_QPA_PLATFORM=offscreen XDG_DATA_HOME="$work/data" timeout -s TERM 4 \
      "$prefix/bin/quorvel" --user-work-dir --virtual-unit ../cards >/dev/null 2>&1) || true
    [ -f "$work/data/quorvel/DID2.cfg" ] || fail "no DID2.cfg in \$XDG_DATA_HOME/quorvel"
    [ ! -e menu/DID2.cfg ] || fail "DID2.cfg was made in the current directory"
    for program in quorvel quorvel-cli; do
      out=$("$prefix/bin/$program" --version) || fail "$program --version"
      [ "$out" = "$program $version" ] || fail "$program --version printed '$out'"
    done
    # The window's help needs no display: it is printed before the window system is asked.
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$prefix/bin/quorvel" --help) ||
      fail "quorvel --help without a display"
    grep -q -- "--virtual-unit DIR  *use the virtual two-slot link unit" <<<"$out" ||
      fail "quorvel --help printed '$out'"
    ;;
  completion)
    # The completion offers exactly the commands of "quorvel-cli help" and, after a command,
    # every option its usage names.
    # shellcheck source=/dev/null
    source "$prefix/share/bash-completion/completions/quorvel-cli"
    complete_words() {
      COMP_WORDS=("$@")
      COMP_CWORD=$(($# - 1))
      COMPREPLY=()
      _quorvel_cli
      printf '%s\n' "${COMPREPLY[@]}" | sort
    }
    expected=$( (command_names; echo help) | sort -u)
    offered=$(complete_words quorvel-cli "")
    [ "$offered" = "$expected" ] || fail "commands offered: $(echo $offered); expected: $(echo $expected)"
    while read -r name usage; do
      offered=$(complete_words quorvel-cli "$name" --)
      for option in $(grep -o -- '--[a-z-]*' <<<"$usage"); do
        grep -qx -- "$option" <<<"$offered" || fail "no $option offered after $name"
      done
    done < <(command_usages)
    offered=$(complete_words quorvel-cli format card.dcm --blocks "")
    [ "$(echo $offered)" = "200 240 241" ] || fail "--blocks offered $(echo $offered)"
    offered=$(complete_words quorvel-cli help ex)
    [ "$(echo $offered)" = "export export-all" ] || fail "help ex offered $(echo $offered)"
    ;;
  *)
    fail "unknown step $step"
    ;;
esac
