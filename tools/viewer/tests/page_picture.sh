#!/usr/bin/env bash
# page_picture.sh VIEWER LINKAGE_FILE OUT_DIR: draws the page of LINKAGE_FILE into
# OUT_DIR/linkage-viewer.html and checks that it is a well-formed document (by the rules of
# XML, stricter than HTML's: xmllint's HTML parser passes anything and does not know inline
# SVG). When a headless browser is installed it also takes the page's picture,
# OUT_DIR/linkage-viewer.png, at the width of an A4 page; without one that step is skipped.
set -euo pipefail
viewer=$(realpath "$1")
file=$(realpath "$2")
mkdir -p "$3"
out=$(realpath "$3")
page=$out/linkage-viewer.html
# From the file's folder, so that the page names the file and not where this checkout lies.
(cd "$(dirname "$file")" && "$viewer" --html "$page" "$(basename "$file")" >/dev/null)
xmllint --noout "$page"
for browser in chromium chromium-browser google-chrome; do
  if command -v "$browser" >/dev/null; then
    picture=$out/linkage-viewer.png
    rm -f "$picture"
    "$browser" --headless --no-sandbox --disable-gpu --hide-scrollbars --window-size=794,1400 \
      --screenshot="$picture" "file://$page" >/dev/null 2>&1
    test -s "$picture"
    echo "picture: $picture"
    exit 0
  fi
done
echo "no headless browser (chromium): the page was checked for well-formedness only"
