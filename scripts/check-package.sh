#!/usr/bin/env bash
# Builds the Debian package from a release build and checks it: its control
# data (name, dependencies) and its file list; as root, it is also unpacked
# into a scratch root and its tlvdb started from there.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-pkg -G Ninja -DCMAKE_BUILD_TYPE=Release -DTILVAR_TESTS=OFF -DTILVAR_BENCH=OFF >/dev/null
cmake --build build-pkg
rm -f build-pkg/tilvarbd_*.deb
(cd build-pkg && cpack -G DEB >/dev/null)
deb=$(ls build-pkg/tilvarbd_*.deb)
fail() { echo "package check: $*" >&2; exit 1; }

# The pictures of the README and the guide show the windows as they are.
./scripts/picture-sources.sh check || fail "pictures taken before their windows changed: run scripts/screenshot.sh"

[ "$(dpkg-deb -f "$deb" Package)" = tilvarbd ] || fail "package name"
depends=$(dpkg-deb -f "$deb" Depends)
for d in libqt6widgets6 libqt6charts6 libqt6xml6 libqt6network6 libxslt1.1 libzint fonts-dejavu-core; do
  grep -q "$d" <<<"$depends" || fail "dependency $d missing from: $depends"
done
# The command-line tool stands without the windows' libraries (charts included).
if readelf -d build-pkg/bin/tlvdb | grep -qE 'libQt6(Widgets|Charts)'; then fail "tlvdb links a window library"; fi
files=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in ./usr/bin/tilvarbd ./usr/bin/tlvdb ./usr/share/tilvarbd/report.xsl ./usr/share/tilvarbd/xData.xsl \
         ./usr/share/tilvarbd/index.htm ./usr/share/applications/tilvarbd.desktop \
         ./usr/share/icons/hicolor/256x256/apps/tilvarbd.png ./usr/share/metainfo/tilvarbd.metainfo.xml \
         ./usr/share/doc/tilvarbd/guide/index.html; do
  grep -qx "$f" <<<"$files" || fail "$f not in the package"
done

desktop-file-validate resources/tilvarbd.desktop || fail "the menu entry does not validate"

if [ "$(id -u)" -eq 0 ]; then
  root=$(mktemp -d)
  trap 'rm -rf "$root"' EXIT
  dpkg -x "$deb" "$root"
  "$root/usr/bin/tlvdb" --help | grep -q "Dossier des données" || fail "the installed tlvdb --help"
fi
echo "package check: $deb passed"
