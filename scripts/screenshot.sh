#!/usr/bin/env bash
# Takes every picture of the README (docs/) and of the guide (docs/guide/)
# from the current program over the sample boutique of the tests:
# - the windows by tilvarbd-shots, which opens them as staff would (offscreen);
# - the settlement summary and a tag sheet from the PDFs tlvdb writes;
# - a consignment report as headless Chromium shows its HTML page.
# Then records beside them the hash of the sources each one shows
# (docs/pictures.sha256), which the package check compares.
set -euo pipefail
cd "$(dirname "$0")/.."
TILVAR_WITH_SCREENSHOT=1 ./scripts/install-deps.sh
# SHOTS_BUILD names a build folder already configured (the test build, say),
# to take the pictures without a build of their own.
build=${SHOTS_BUILD:-build-screenshot}
if [ -z "${SHOTS_BUILD:-}" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTILVAR_TESTS=OFF -DTILVAR_BENCH=OFF >/dev/null
fi
cmake --build "$build" --target tilvarbd-shots tlvdb
bin=$build/bin
sample=tests/data/sales-realistic.tlvdb
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p docs/guide

# As root, in a network namespace of its own, where another running TilvarBD cannot take its place.
launch=
if [ "$(id -u)" = 0 ] && command -v unshare >/dev/null; then launch="unshare -n"; fi
QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 $launch "$bin/tilvarbd-shots" "$sample" "$tmp"

# The documents of spring: its summary and artisan 001's page.
"$bin/tlvdb" report "$sample" Printemps "$tmp/spring" >/dev/null
pdftoppm -png -r 70 -singlefile "$tmp/spring/sommaire.pdf" "$tmp/settlementSummary"
"$bin/tlvdb" tags "$sample" "$tmp/tags.pdf" 001 >/dev/null
pdftoppm -png -r 60 -singlefile "$tmp/tags.pdf" "$tmp/tagSheet"
chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run --disable-background-networking \
  --disable-component-update --disable-sync --user-data-dir="$tmp/chromium" --hide-scrollbars \
  --window-size=900,640 --screenshot="$tmp/consignmentReport.png" "file://$tmp/spring/c001.html" 2>/dev/null

for p in mainWindow salesWindow saleEditor helpWindow restoreDialog tagSheet settlementSummary consignmentReport; do
  cp "$tmp/$p.png" docs/
done
for p in mainWindow salesWindow saleEditor consignmentReport reportWindow payoutDialog payAllDialog artisanAccount \
  restoreDialog reportChart dashboard countWindow countDifferences unsoldList returnDialog; do
  cp "$tmp/$p.png" docs/guide/
done
./scripts/picture-sources.sh write
