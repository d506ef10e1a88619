#!/usr/bin/env bash
# Installs the program's folder from this build, as the release scripts do, and checks it: the
# program, the players' README carrying the project's version, and the licence, side by side.
set -euo pipefail
build=$1
version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake --install "$build" --component korvale --prefix "$work/Korvale" >/dev/null
folder=$work/Korvale
[ -x "$folder/korvale" ] || { echo "no executable korvale in the folder"; exit 1; }
head -n 1 "$folder/README-players.txt" | grep -q -x -F "Korvale $version - identities for Unreal Tournament" \
    || { echo "the players' README does not start with version $version"; exit 1; }
grep -q -F "Korvale-$version-linux-x86_64.tar.gz" "$folder/README-players.txt" \
    || { echo "the players' README does not name the archive of version $version"; exit 1; }
! grep -q @ "$folder/README-players.txt" || { echo "the players' README holds an unreplaced @name@"; exit 1; }
cmp -s "$folder/LICENSE.txt" "$(dirname "$0")/../../LICENSE" || { echo "no LICENSE.txt in the folder"; exit 1; }
extra=$(cd "$folder" && ls | grep -v -x -e korvale -e README-players.txt -e LICENSE.txt || true)
[ -z "$extra" ] || { echo "unexpected files in the folder: $extra"; exit 1; }
echo "folder ok: korvale $version"
