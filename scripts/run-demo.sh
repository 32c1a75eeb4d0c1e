#!/usr/bin/env bash
# Starts quorvel on the virtual link unit with two demo cards, in a working folder inside
# the build directory so that its configuration and working files stay out of the sources.
set -euo pipefail
build_dir=${1:-build/dev}
work="$build_dir/demo"
mkdir -p "$work/cards"
if [ -x "$build_dir/src/cli/quorvel-cli" ] && [ ! -f "$work/cards/slot1.dcm" ] && \
   [ -x "$build_dir/data/make-demo-cards" ]; then
  "$build_dir/data/make-demo-cards" "$work/cards"
fi
exe="$(cd "$build_dir" && pwd)/src/gui/quorvel"
if [ ! -x "$exe" ]; then
  echo "quorvel was not built (is Qt 6 installed?)" >&2
  exit 1
fi
cd "$work"
exec "$exe" --virtual-unit cards
