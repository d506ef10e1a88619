#!/usr/bin/env bash
# Renders the four windows of Korvale into docs/frmUT.png, docs/frmuserpass.png, docs/frmSetDir.png
# and docs/frmAbout.png, on Qt's offscreen platform (no display needed).
# Usage: docs/make_screenshots.sh [build folder]   (default: build/docs)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/docs}

cmake -S "$root" -B "$build" -DKORVALE_GUI=ON -DKORVALE_TESTS=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target korvale_screenshots
program=$(find "$build" -name korvale_screenshots -type f -perm -u+x | head -n 1)
QT_QPA_PLATFORM=offscreen "$program" "$root/docs"
