#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package and checks what it installs: the file list, lintian, the desktop
# entry and the AppStream file. Expects a configured and built build/.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --build build --target package >build/package.log 2>&1 || { cat build/package.log >&2; exit 1; }
deb=$(ls build/tavimer_*_amd64.deb)
list=$(dpkg-deb -c "$deb" | awk '{print $6}')
expected=(./usr/bin/tavimer ./usr/bin/tavimer-sim
  ./usr/share/tavimer/tavimer.dat ./usr/share/tavimer/tavimer-en.dat
  ./usr/share/tavimer/tavimer-hu.dat
  ./usr/share/applications/hu.kelvaro.Tavimer.desktop
  ./usr/share/metainfo/hu.kelvaro.Tavimer.metainfo.xml
  ./usr/share/icons/hicolor/scalable/apps/hu.kelvaro.Tavimer.svg
  ./usr/share/man/man1/tavimer.1.gz ./usr/share/man/man1/tavimer-sim.1.gz
  ./usr/share/doc/tavimer/copyright ./usr/share/doc/tavimer/changelog.gz
  ./usr/lib/systemd/user/tavimer-backup.service ./usr/lib/systemd/user/tavimer-backup.timer)
for size in 16 24 32 48 64 128 256 512; do
  expected+=("./usr/share/icons/hicolor/${size}x${size}/apps/hu.kelvaro.Tavimer.png")
done
for f in "${expected[@]}"; do
  grep -qx "$f" <<<"$list" || { echo "package lacks $f" >&2; exit 1; }
done
if grep -v -e '^\./usr/bin/' -e '^\./usr/share/' -e '^\./usr/lib/systemd/user/' \
  -e '^\./usr/lib/$' -e '^\./usr/lib/systemd/$' -e '^\./$' -e '^\./usr/$' <<<"$list"; then
  echo "package installs outside /usr/bin, /usr/share and the systemd user units" >&2
  exit 1
fi
depends=$(dpkg-deb -f "$deb" Depends)
for d in libqt6widgets6 libqt6serialport6 fonts-dejavu-core; do
  grep -q "$d" <<<"$depends" || { echo "package does not depend on $d: $depends" >&2; exit 1; }
done
# Errors and warnings fail; lintian's informational tags are shown only.
lintian --fail-on error,warning --info "$deb"
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
desktop=$(desktop-file-validate "$root/usr/share/applications/hu.kelvaro.Tavimer.desktop" 2>&1)
[ -z "$desktop" ] || { echo "$desktop" >&2; exit 1; }
appstreamcli validate --no-net --strict "$root/usr/share/metainfo/hu.kelvaro.Tavimer.metainfo.xml" >/dev/null
echo "package ok: $deb"
