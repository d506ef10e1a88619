#!/usr/bin/env bash
# Packs the portable archive from this build and checks that it unpacks into the folder layout
# that scripts/run installs into: the program and the players' README side by side.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >/dev/null
archive=$(ls "$work"/out/Korvale-*.tar.gz)
tar -xzf "$archive" -C "$work"
folder="$work/$(basename "$archive" .tar.gz)"
[ -x "$folder/korvale" ] || { echo "no executable korvale in $(basename "$archive")"; exit 1; }
grep -q "What Play changes" "$folder/README-players.txt" \
    || { echo "no players' README in $(basename "$archive")"; exit 1; }
extra=$(cd "$folder" && ls | grep -v -x -e korvale -e README-players.txt || true)
[ -z "$extra" ] || { echo "unexpected files in the archive: $extra"; exit 1; }
echo "archive ok: $(basename "$archive")"
