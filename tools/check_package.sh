#!/usr/bin/env bash
# Builds the Debian package and checks what it installs: the file list, the desktop entry and
# the AppStream file. Expects a configured and built build/.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --build build --target package >build/package.log 2>&1 || { cat build/package.log >&2; exit 1; }
deb=$(ls build/tavimer_*_amd64.deb)
list=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in ./usr/bin/tavimer ./usr/bin/tavimer-sim \
  ./usr/share/tavimer/tavimer.dat ./usr/share/tavimer/tavimer-en.dat \
  ./usr/share/applications/hu.kelvaro.Tavimer.desktop \
  ./usr/share/metainfo/hu.kelvaro.Tavimer.metainfo.xml \
  ./usr/share/icons/hicolor/48x48/apps/hu.kelvaro.Tavimer.png \
  ./usr/share/icons/hicolor/128x128/apps/hu.kelvaro.Tavimer.png \
  ./usr/share/icons/hicolor/256x256/apps/hu.kelvaro.Tavimer.png; do
  grep -qx "$f" <<<"$list" || { echo "package lacks $f" >&2; exit 1; }
done
if grep -v -e '^\./usr/bin/' -e '^\./usr/share/' -e '^\./$' -e '^\./usr/$' <<<"$list"; then
  echo "package installs outside /usr/bin and /usr/share" >&2
  exit 1
fi
depends=$(dpkg-deb -f "$deb" Depends)
for d in libqt6widgets6 libqt6serialport6 fonts-dejavu-core; do
  grep -q "$d" <<<"$depends" || { echo "package does not depend on $d: $depends" >&2; exit 1; }
done
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/hu.kelvaro.Tavimer.desktop"
appstreamcli validate --no-net "$root/usr/share/metainfo/hu.kelvaro.Tavimer.metainfo.xml" >/dev/null
echo "package ok: $deb"
