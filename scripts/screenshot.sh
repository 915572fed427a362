#!/usr/bin/env bash
# Takes a picture of the main window with a collection open, under a real X server.
#   scripts/screenshot.sh [COLLECTION.xml] [OUT.png] [SETTINGS.ini]
# OUT-1.png, OUT-2.png ... show each open tab.
set -euo pipefail
cd "$(dirname "$0")/.."
collection=${1:-tests/fixtures/three_languages.xml}
out=${2:-screenshot.png}
scripts/install-deps.sh
scripts/build.sh > /dev/null
xvfb-run -a -s "-screen 0 1280x800x24" build/tests/tarnwick_screenshot "$collection" "$out" ${3:+"$3"}
echo "$out"
