#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running Quorvel need.
# Idempotent: when every package is present it only asks dpkg and returns.
set -euo pipefail

packages=(
  cmake ninja-build g++ make ccache
  qt6-base-dev libgl-dev
  # Translations: lupdate/lrelease and CMake's qt_add_translations, and Qt's own translations
  # of its dialogs and buttons.
  qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-wqy-microhei
  # The installation and its checks: the icon's PNG sizes, the desktop entry, AppStream and
  # manual page validators, and the Debian package with its library dependencies and lintian.
  librsvg2-bin desktop-file-utils appstream man-db groff-base file dpkg-dev lintian
)
if [ "${1:-}" = "--fuzz" ]; then
  # The libFuzzer programs: clang and its sanitizer and fuzzer runtimes.
  packages+=(clang libclang-rt-14-dev)
fi
if [ "${1:-}" = "--extra" ]; then
  # Screenshots, fuzzing and image checks for developers.
  packages+=(xvfb x11-apps imagemagick xdotool clang libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
