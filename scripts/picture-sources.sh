#!/usr/bin/env bash
# Each picture of the README and the guide, with the sources of what it shows.
#   picture-sources.sh write   records their hashes in docs/pictures.sha256
#                              (scripts/screenshot.sh, once it took them)
#   picture-sources.sh check   fails when a picture's sources changed since
#                              it was taken (the package check)
set -euo pipefail
cd "$(dirname "$0")/.."
manifest=docs/pictures.sha256

# picture | folders and files whose sources draw it
pictures() {
  cat <<'LIST'
docs/mainWindow.png            | src/ui/shell src/ui/artisans src/ui/widgets
docs/salesWindow.png           | src/ui/shell src/ui/sales src/ui/widgets
docs/saleEditor.png            | src/ui/editor src/ui/sales
docs/helpWindow.png            | src/ui/shell/helpWindow.cpp src/ui/shell/helpWindow.h
docs/restoreDialog.png         | src/ui/dialogs/restoreDlg.cpp src/ui/dialogs/restoreDlg.h
docs/tagSheet.png              | src/report/priceTags.cpp src/report/priceTags.h
docs/settlementSummary.png     | src/report/statement.cpp src/report/statement.h src/report/pdfPainter.cpp
docs/consignmentReport.png     | resources/report.xsl src/report/statement.cpp
docs/guide/mainWindow.png      | src/ui/shell src/ui/artisans src/ui/widgets
docs/guide/salesWindow.png     | src/ui/shell src/ui/sales src/ui/widgets
docs/guide/saleEditor.png      | src/ui/editor src/ui/sales
docs/guide/consignmentReport.png | resources/report.xsl src/report/statement.cpp
docs/guide/reportWindow.png    | src/ui/reports
docs/guide/payoutDialog.png    | src/ui/reports/payoutDlg.cpp src/ui/reports/payoutDlg.h
docs/guide/payAllDialog.png    | src/ui/reports/payAllDlg.cpp src/ui/reports/payAllDlg.h
docs/guide/artisanAccount.png  | src/ui/artisans/artAccount.cpp src/ui/artisans/artAccount.h
docs/guide/restoreDialog.png   | src/ui/dialogs/restoreDlg.cpp src/ui/dialogs/restoreDlg.h
docs/guide/reportChart.png     | src/ui/reports/repChart.cpp src/ui/dashboard/salesCharts.cpp src/ui/dashboard/salesCharts.h
docs/guide/dashboard.png       | src/ui/dashboard
docs/guide/countWindow.png     | src/ui/stock/countDlg.cpp src/ui/stock/countDlg.h
docs/guide/countDifferences.png | src/ui/stock/diffDlg.cpp src/ui/stock/diffDlg.h
docs/guide/unsoldList.png      | src/ui/stock/unsoldDlg.cpp src/ui/stock/unsoldDlg.h
docs/guide/returnDialog.png    | src/ui/stock/returnDlg.cpp src/ui/stock/returnDlg.h
LIST
}

# One hash over the sources' names and contents, whatever the file order on disk.
hash_of() {
  # shellcheck disable=SC2086
  find $1 -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.xsl' \) | LC_ALL=C sort | xargs sha256sum \
    | sha256sum | cut -c1-16
}

case "${1:-}" in
write)
  : >"$manifest.new"
  while IFS='|' read -r pic src; do
    pic=$(echo $pic)
    [ -f "$pic" ] || { echo "picture-sources: $pic was not taken" >&2; exit 1; }
    echo "$(hash_of "$src")  $pic" >>"$manifest.new"
  done < <(pictures)
  mv "$manifest.new" "$manifest"
  echo "wrote $manifest"
  ;;
check)
  stale=0
  while IFS='|' read -r pic src; do
    pic=$(echo $pic)
    recorded=$(awk -v p="$pic" '$2 == p {print $1}' "$manifest")
    if [ "$recorded" != "$(hash_of "$src")" ]; then
      echo "picture-sources: $pic no longer shows its window's sources ($src): run scripts/screenshot.sh" >&2
      stale=1
    fi
  done < <(pictures)
  exit $stale
  ;;
*)
  echo "usage: $0 write|check" >&2
  exit 2
  ;;
esac
