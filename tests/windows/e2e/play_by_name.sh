#!/usr/bin/env bash
# End to end: `korvale --play NAME` under Xvfb. Beta is played with no window mapped and status 0;
# an unknown name, a blank game folder and a running game are each refused with status 1, the
# message in a box and on standard error, and no file changed.
# Usage: play_by_name.sh <korvale> <stand-in game>
set -euo pipefail
korvale_binary=$1 standin_binary=$2
for tool in Xvfb xdotool xev; do
    command -v "$tool" >/dev/null || { echo "SKIPPED: $tool is not installed"; exit 77; }
done
work=$(mktemp -d)
program=$work/program game=$work/game
xvfb_pid= korvale_pid= xev_pid= held_pid=
cleanup() {
    for pid in $korvale_pid $xev_pid $held_pid $xvfb_pid; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
. "$(dirname "$0")/../../support/e2e.sh"

mkdir -p "$program" "$game/System"
cp "$korvale_binary" "$program/korvale"
cp "$standin_binary" "$game/System/UnrealTournament.exe"
printf '%s' "$game" >"$program/UTDir.ini"
printf 'Alpha,a1\r\nBeta,b2' >"$program/User.ini"
profile='[URL]\r\nName=Old\r\n[Engine.GameReplicationInfo]\r\nngWorldSecret=old\r\n'
printf "$profile" >"$game/System/User.ini"
started=$game/System/started.txt

start_xvfb
export QT_QPA_PLATFORM=xcb
snapshot() { (cd "$work" && find program game -type f ! -name korvale.log -exec md5sum {} + | sort); }
run() { status=0; "$@" >"$work/korvale.log" 2>&1 || status=$?; }

# --- A display that names no server: one line and status 1; a wrong option: status 2 ----------
DISPLAY=:65000 run "$program/korvale" --play Beta
[ "$status" -eq 1 ] && [ "$(wc -l <"$work/korvale.log")" -eq 1 ] || fail "no display: status $status"
run "$program/korvale" --plya Beta
[ "$status" -eq 2 ] && grep -q -- --play "$work/korvale.log" || fail "a wrong option: status $status"

# --- Beta: the profile switched, the game started, status 0, no window ever mapped ------------
xev -root -event substructure >"$work/xev.log" 2>&1 &
xev_pid=$!
sleep 0.5
run "$program/korvale" --play Beta
sleep 0.3
kill "$xev_pid"
xev_pid=
[ "$status" -eq 0 ] || fail "--play Beta ended with status $status"
same_bytes "$game/System/User.ini" '[URL]\r\nName=Beta\r\n[Engine.GameReplicationInfo]\r\nngWorldSecret=b2\r\n' ||
    fail "the profile was not switched to Beta: $(dump "$game/System/User.ini")"
same_bytes "$game/System/UserKorvale.old" "$profile" || fail "the backup is not the old profile"
wait_until '[ -s "$started" ]' || fail "the game was not started"
! grep -q MapNotify "$work/xev.log" || fail "a window was shown: $(grep -A2 MapNotify "$work/xev.log")"

# --- Refusals: the box closed with Enter, the message on standard error, status 1, no change --
refused() {
    local name=$1 message=$2 before box status=0
    before=$(snapshot)
    "$program/korvale" --play "$name" >"$work/korvale.log" 2>&1 &
    korvale_pid=$!
    box=$(new_window Korvale) || fail "no message box for '$name'"
    focus "$box"
    xdotool key Return
    wait "$korvale_pid" || status=$?
    korvale_pid=
    [ "$status" -eq 1 ] || fail "'$name' ended with status $status, not 1"
    grep -q -x -F "korvale: $message" "$work/korvale.log" || fail "'$name' did not say: $message"
    [ "$(snapshot)" = "$before" ] || fail "'$name' changed files"
}
rm "$started"
refused Gamma "No UT User is named Gamma"
refused beta "No UT User is named beta"
: >"$program/UTDir.ini"
refused Beta "The UT Path Needs to be set"
printf '%s' "$game" >"$program/UTDir.ini"
touch "$game/System/hold.txt"
"$game/System/UnrealTournament.exe" &
held_pid=$!
wait_until '[ -s "$started" ]' || fail "the held game did not start"
refused Alpha "Unreal Tournament is already running"

echo "PASSED: no display, a wrong option; --play Beta without a window; an unknown name, a blank folder and a running game refused"
