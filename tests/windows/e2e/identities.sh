#!/usr/bin/env bash
# End to end: the identities of real Korvales under Xvfb, driven by keys from outside (xdotool).
# Two Korvales of one program folder, each swap of User.ini slowed by 3 seconds so that they
# overlap: an add beside an add, and an edit beside an add, lose nothing. Then text typed over a
# pick, a letter deleted from it and the box cleared each leave no pick: Play says so and changes
# nothing, and a pick afterwards plays its own pair.
# Usage: identities.sh <korvale> <stand-in game> <slow-swap library>
set -euo pipefail
korvale_binary=$1 standin_binary=$2 slow_swap=$3
for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null || { echo "SKIPPED: $tool is not installed"; exit 77; }
done
work=$(mktemp -d)
program=$work/program game=$work/game
xvfb_pid= korvale_pid= other_pid=
cleanup() {
    for pid in $korvale_pid $other_pid $xvfb_pid; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
. "$(dirname "$0")/../../support/e2e.sh"

mkdir -p "$program" "$game/System"
cp "$korvale_binary" "$program/korvale"
cp "$standin_binary" "$game/System/UnrealTournament.exe"
printf '%s' "$game" >"$program/UTDir.ini"
start_xvfb
export QT_QPA_PLATFORM=xcb

# The visible window titled exactly $2 of the process $1, waiting for it.
window_of() {
    local pid=$1 title=$2 found=
    wait_until 'found=$(xdotool search --all --onlyvisible --pid "$pid" --name "^$title\$" 2>/dev/null | head -n 1); [ -n "$found" ]' ||
        fail "process $pid shows no window '$title'"
    echo "$found"
}
# A sanitized build's runtime must come first of all the libraries.
preload="$(ldd "$korvale_binary" | awk '/libasan/ { print $3 }') $slow_swap"
slowed_korvale() {
    LD_PRELOAD=$preload KORVALE_SLOW_SWAP=/program/User.ini "$program/korvale" >>"$work/korvale.log" 2>&1 &
}
start_two() {
    slowed_korvale
    korvale_pid=$!
    slowed_korvale
    other_pid=$!
    first=$(window_of "$korvale_pid" Korvale)
    second=$(window_of "$other_pid" Korvale)
}
end_two() {
    exit_korvale "$first"
    korvale_pid=$other_pid other_pid=
    exit_korvale "$second"
}
# The New player dialog of the window $1, filled with $2 and $3, not yet saved.
new_player() {
    local dialog
    focus "$1"
    xdotool key alt+a
    dialog=$(window_of "$(xdotool getwindowpid "$1")" "New User")
    focus "$dialog"
    xdotool type --delay 20 "$2"
    xdotool key Tab
    xdotool type --delay 20 "$3"
    echo "$dialog"
}
# Saves the dialog $1 and waits until its swap of User.ini has begun: the new file is beside it.
saved() {
    focus "$1"
    xdotool key alt+s
    wait_until 'ls "$program" | grep -q "^User.ini.korvale-new"' ||
        fail "no swap of User.ini began: $(ls "$program")"
}
# The titles of the visible windows but the two main windows.
others() {
    local id
    for id in $(xdotool search --onlyvisible --name "." 2>/dev/null | grep -v -x -e "$first" -e "$second"); do
        xdotool getwindowname "$id"
    done
}
no_dialogs_left() {
    wait_until '[ -z "$(others)" ]' 20 || fail "left open: $(others | tr '\n' ' '); User.ini: $(dump "$program/User.ini")"
    kill -0 "$korvale_pid" && kill -0 "$other_pid" || fail "a Korvale ended: $(dump "$program/User.ini")"
}

# --- An add beside an add ---------------------------------------------------------------------
printf 'Alpha,a1' >"$program/User.ini"
start_two
carol=$(new_player "$first" Carol pc)
dave=$(new_player "$second" Dave pd)
saved "$carol"
saved "$dave"
no_dialogs_left
same_bytes "$program/User.ini" 'Alpha,a1\r\nCarol,pc\r\nDave,pd' ||
    fail "an add was lost: $(dump "$program/User.ini")"
end_two

# --- An edit beside an add: the edit swaps first, the add lands on it --------------------------
printf 'Alpha,a1\r\nBeta,b2' >"$program/User.ini"
start_two
carol=$(new_player "$second" Carol pc)
focus "$first"
xdotool key Down Down shift+F10 e
edit=$(window_of "$korvale_pid" "Edit UT User")
focus "$edit"
xdotool key ctrl+a
xdotool type --delay 20 "Bravo"
saved "$edit"
saved "$carol"
no_dialogs_left
same_bytes "$program/User.ini" 'Alpha,a1\r\nBravo,b2\r\nCarol,pc' ||
    fail "the edit or the add was lost: $(dump "$program/User.ini")"
end_two

# --- Typing after a pick drops it -------------------------------------------------------------
profile='[URL]\r\nName=Old\r\n[Engine.GameReplicationInfo]\r\nngWorldSecret=old\r\n'
printf "$profile" >"$game/System/User.ini"
started=$game/System/started.txt
"$program/korvale" >>"$work/korvale.log" 2>&1 &
korvale_pid=$!
main=$(window_of "$korvale_pid" Korvale)
focus "$main"
# Play by keys: Tab from the name list to the Play button, and Space.
refused() {
    local box
    xdotool key Tab space
    box=$(new_window Korvale "$main") || fail "$1: Play showed no message"
    same_bytes "$game/System/User.ini" "$profile" || fail "$1: the profile changed"
    [ ! -e "$started" ] || fail "$1: the game was started"
    focus "$box"
    xdotool key Return
    wait_until 'gone Korvale "$box"' || fail "$1: the message did not close"
    focus "$main"
    xdotool key shift+Tab
}
xdotool key Down Down ctrl+a
xdotool type --delay 20 Ghost
refused "a name typed over Beta"
xdotool key Down Down End BackSpace
refused "a letter deleted from Beta"
xdotool key Down Down ctrl+a BackSpace
refused "the box cleared"
xdotool key Down Tab space
wait_until '[ -s "$started" ]' || fail "a pick afterwards did not start the game"
same_bytes "$game/System/User.ini" '[URL]\r\nName=Alpha\r\n[Engine.GameReplicationInfo]\r\nngWorldSecret=a1\r\n' ||
    fail "a pick afterwards did not play its own pair: $(dump "$game/System/User.ini")"
exit_korvale "$main"
echo "PASSED"
