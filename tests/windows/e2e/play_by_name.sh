#!/usr/bin/env bash
# End to end: `korvale --play NAME` under Xvfb. Beta is played with no window mapped and status 0;
# an unknown name, a blank game folder and a running game are each refused with status 1, the
# message in a box and on standard error, and no file changed. Then a desktop entry made by
# Korvale's own code is started as GNOME starts it (gio launch), for a name with a space, quotes
# and "É". Usage: play_by_name.sh <korvale> <stand-in game> <korvale_make_shortcut>
set -euo pipefail
korvale_binary=$1 standin_binary=$2 make_shortcut=$3
for tool in Xvfb xdotool xev gio; do
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
printf 'Alpha,a1\r\nBeta,b2\r\nClan "Tag" \311,s3' >"$program/User.ini"
profile='[URL]\r\nName=Old\r\n[Engine.GameReplicationInfo]\r\nngWorldSecret=old\r\n'
printf "$profile" >"$game/System/User.ini"
started=$game/System/started.txt

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
wait_until '[ -s "$work/display" ]' 15 || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(head -n 1 "$work/display")" QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY
printf 'leak:libdbus-1.so\n' >"$work/lsan.supp"
export LSAN_OPTIONS="suppressions=$work/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
snapshot() { (cd "$work" && find program game -type f ! -name korvale.log -exec md5sum {} + | sort); }

# --- Beta: the profile switched, the game started, status 0, no window ever mapped ------------
xev -root -event substructure >"$work/xev.log" 2>&1 &
xev_pid=$!
sleep 0.5
status=0
"$program/korvale" --play Beta >"$work/korvale.log" 2>&1 || status=$?
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
touch "$game/System/release.txt"
wait "$held_pid"
held_pid=
rm "$game/System/hold.txt" "$game/System/release.txt" "$started"

# --- A desktop entry's Exec line, run as a desktop runs it -------------------------------------
entry=$(XDG_DATA_HOME= "$make_shortcut" "$program/korvale" "$work/applications" $'Clan "Tag" \311') ||
    fail "the desktop entry was not made"
desktop-file-validate "$entry" || fail "desktop-file-validate refused $entry"
gio launch "$entry" >"$work/korvale.log" 2>&1 || fail "gio could not launch $entry"
wait_until '[ -s "$started" ]' || fail "the entry did not start the game"
same_bytes "$game/System/User.ini" '[URL]\r\nName=Clan "Tag" \311\r\n[Engine.GameReplicationInfo]\r\nngWorldSecret=s3\r\n' ||
    fail "the entry did not switch the profile: $(dump "$game/System/User.ini")"

echo "PASSED: --play Beta without a window; an unknown name, a blank folder and a running game refused; a desktop entry played"
