#!/usr/bin/env bash
# Brings translations/*.ts up to date with the sources: new texts are added as unfinished
# entries (translate them with Qt Linguist or by hand), texts no longer in the sources are
# dropped. With --check, nothing is changed: the script fails when a text of the sources has
# no finished translation in a .ts file (the test "translations_complete" runs it so).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
lupdate="${LUPDATE:-$(command -v lupdate6 || command -v /usr/lib/qt6/bin/lupdate || true)}"
[ -x "$lupdate" ] || { echo "update-translations: lupdate (qt6-l10n-tools) is not installed" >&2; exit 1; }
sources=("$root/src/gui" "$root/src/card" "$root/src/disasm" "$root/src/hexedit")
options=(-no-obsolete -locations none -extensions cpp,h -I "$root/src" -silent)

if [ "${1:-}" != "--check" ]; then
  "$lupdate" "${options[@]}" "${sources[@]}" -ts "$root"/translations/quorvel_*.ts
  exit 0
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
status=0
for ts in "$root"/translations/quorvel_*.ts; do
  copy="$work/$(basename "$ts")"
  cp "$ts" "$copy"
  "$lupdate" "${options[@]}" "${sources[@]}" -ts "$copy"
  # A text the sources show without a translation: new in the sources, or left unfinished.
  # The Chinese file translates only the texts written in English (no CJK in the source).
  python3 - "$copy" <<'PY' || status=1
import re, sys, xml.etree.ElementTree as ET
path = sys.argv[1]
chinese = path.endswith("_zh_TW.ts")
cjk = re.compile("[\u2e80-\u9fff\uf900-\ufaff\uff00-\uffef]")
missing = []
for context in ET.parse(path).getroot().iter("context"):
    name = context.findtext("name")
    for message in context.iter("message"):
        source = message.findtext("source") or ""
        translation = message.find("translation")
        if chinese and cjk.search(source):
            continue
        kind = translation.get("type") if translation is not None else "unfinished"
        if kind in ("unfinished", "vanished", "obsolete") or not (translation.text or ""):
            missing.append(f"{name}: {source!r}")
for entry in missing:
    print(f"{path.rsplit('/', 1)[-1]}: no translation: {entry}")
sys.exit(1 if missing else 0)
PY
done
exit $status
