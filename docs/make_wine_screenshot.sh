#!/usr/bin/env bash
# Takes docs/frmUT-wine.png: the main window of korvale.exe from the Windows release zip, under
# Wine on Xvfb, as the end-to-end run leaves it (an identity picked, after a Play).
# Needs the zip (scripts/windows-release) and the stand-in game (scripts/windows-tests
# --build-only); installs ImageMagick when it is missing.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/install-deps" imagemagick
zip=$(ls -t "$root"/dist/Korvale-*-win64.zip 2>/dev/null | head -n 1)
standin=$(find "$root/build/windows" -name korvale_windows_standin.exe -type f 2>/dev/null | head -n 1)
[ -n "$zip" ] || { echo "no zip in dist/: run scripts/windows-release" >&2; exit 1; }
[ -n "$standin" ] || { echo "no stand-in game: run scripts/windows-tests --build-only" >&2; exit 1; }
bash "$root/tests/release/wine_play_through.sh" "$zip" "$standin" "$root/docs/frmUT-wine.png"
