#!/usr/bin/env bash
# Starts quorvel on the virtual link unit with two demo cards, in a working folder inside
# the build directory so that its configuration and working files stay out of the sources.
set -euo pipefail
build_dir=${1:-build/dev}
shift || true  # the rest are options for quorvel (--lang en ...)
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
# The files the program expects in its working folder, and (first run only) a configuration
# with the shortest link delays: the virtual unit needs no waiting, so the demo stays quick.
for file in NA.bmp dpnw.dc; do
  if [ -f "$build_dir/data/$file" ]; then cp "$build_dir/data/$file" "$work/"; fi
done
if [ ! -f "$work/DID2.cfg" ]; then
  printf '888\r\n1\r\n1\r\n1\r\n9216\r\n0\r\n1\r\n' > "$work/DID2.cfg"
fi
cd "$work"
exec "$exe" --virtual-unit cards "$@"
