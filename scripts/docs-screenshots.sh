#!/usr/bin/env bash
# Remakes the pictures of the README (docs/images/) and of the user guide
# (docs/help/images/) from the sample collection docs/sample/snippets.xml (and the tree
# width of docs/sample/Settings.ini), with the
# project's screenshot program under Xvfb; the HTML export is photographed by a headless
# chromium (apt-get install chromium).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh > /dev/null
command -v chromium > /dev/null || { echo "chromium is missing: apt-get install chromium" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
shot() { xvfb-run -a -s "-screen 0 1280x800x24" build/tests/tarnwick_screenshot "$@"; }
mkdir -p docs/images docs/help/images

shot docs/sample/snippets.xml "$work/main.png" docs/sample/Settings.ini
cp "$work/main.png" docs/images/main-window.png
cp "$work/main.png" docs/help/images/main-window.png
cp "$work/main-search.png" docs/help/images/file-search.png
shot --dialogs "$work"
cp "$work/directoryExport.png" docs/help/images/directory-export.png
shot --help-window docs/help/index.html docs/images/help-window.png

mkdir "$work/html"
build/src/cli/tarnwick-cli export-html docs/sample/snippets.xml "$work/html/index"
# One exported page, highlighted as in the editor.
chromium --headless --no-sandbox --disable-gpu --hide-scrollbars --window-size=560,250 \
         --screenshot="$work/export.png" "file://$work/html/Подсчёт строк.html" 2> /dev/null
cp "$work/export.png" docs/images/html-export.png
ls -l docs/images docs/help/images
