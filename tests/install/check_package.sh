#!/usr/bin/env bash
# Builds the Debian package from a build tree and checks it: its name, its dependencies, its
# files, lintian (no error; warnings are shown), and the programs unpacked from it.
#   check_package.sh BUILD_DIR VERSION WORK_DIR
set -euo pipefail
build=$1 version=$2 work=$3

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

rm -rf "$work"
mkdir -p "$work"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
  fail "cpack: $(cat "$work/cpack.log")"
deb="$work/quorvel_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || fail "no $deb: $(ls "$work")"

depends=$(dpkg-deb -f "$deb" Depends)
for package in fonts-wqy-microhei libc6 libstdc++6 libqt6widgets6; do
  [[ $depends == *"$package"* ]] || fail "Depends lacks $package: $depends"
done
contents=$(dpkg-deb -c "$deb")
for file in usr/bin/quorvel usr/bin/quorvel-cli usr/share/quorvel/dpnw.dc usr/share/quorvel/NA.bmp \
  usr/share/doc/quorvel/copyright usr/share/doc/quorvel/changelog.gz \
  usr/share/man/man1/quorvel-cli.1.gz usr/share/bash-completion/completions/quorvel-cli; do
  grep -q " \./$file\$" <<<"$contents" || fail "the package lacks $file"
done

lintian --tag-display-limit 0 "$deb" >"$work/lintian.txt" 2>&1 || true
cat "$work/lintian.txt"
if grep -q '^E: ' "$work/lintian.txt"; then
  fail "lintian reports errors"
fi
# The package's own texts keep to Debian's line lengths.
if grep -Eq 'description-line-too-long|changelog-line-too-long' "$work/lintian.txt"; then
  fail "a line of the description or the changelog is too long"
fi

# Unpacked anywhere, the programs find the template beside them and know their version.
dpkg-deb -x "$deb" "$work/root"
mkdir "$work/run"
cd "$work/run"
"$work/root/usr/bin/quorvel-cli" new-image fresh.dcm || fail "new-image"
[ "$(stat -c %s fresh.dcm)" = 131072 ] || fail "new-image wrote a wrong size"
[ "$("$work/root/usr/bin/quorvel" --version)" = "quorvel $version" ] || fail "quorvel --version"
