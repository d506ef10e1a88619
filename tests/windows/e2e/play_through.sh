#!/usr/bin/env bash
# End to end: the real korvale binary under Xvfb, driven only by keyboard and mouse events from
# outside the process (xdotool). First start, game folder, new identity, pick, Play; then the
# files on disk and the stand-in game's start are checked.
# Usage: play_through.sh <korvale binary> <stand-in game binary>
# Exits 77 (skipped) when Xvfb or xdotool is missing.
set -euo pipefail

korvale_binary=$1
standin_binary=$2

for tool in Xvfb xdotool; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIPPED: $tool is not installed (Debian packages xvfb and xdotool)"
        exit 77
    fi
done

work=$(mktemp -d)
program=$work/program  # Korvale's own folder: it keeps UTDir.ini and User.ini beside itself
game=$work/game
xvfb_pid=
korvale_pid=

cleanup() {
    [ -n "$korvale_pid" ] && kill "$korvale_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

. "$(dirname "$0")/../../support/e2e.sh"

# The id of the visible window titled exactly $1, waiting for it to appear.
window() {
    timeout 20 xdotool search --sync --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1
}
visible_count() {
    xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | wc -l
}
focus() {
    timeout 10 xdotool windowfocus --sync "$1" || fail "could not give the focus to window $1"
    sleep 0.2
}
# Width and height of a window, "W H".
size_of() {
    xdotool getwindowgeometry --shell "$1" | awk -F= '/^WIDTH/ {w=$2} /^HEIGHT/ {h=$2} END {print w, h}'
}

mkdir -p "$program" "$game/System"
cp "$korvale_binary" "$program/korvale"
cp "$standin_binary" "$game/System/UnrealTournament.exe"
chmod +x "$program/korvale" "$game/System/UnrealTournament.exe"
profile=$'[URL]\r\nName=OldName\r\n[Engine.GameReplicationInfo]\r\n  ngWorldSecret=oldsecret  \r\nKeep=this\r\n'
printf '%s' "$profile" >"$game/System/User.ini"

# A virtual screen on a free display number.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
wait_until '[ -s "$work/display" ]' 15 || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(head -n 1 "$work/display")"
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb
# In a sanitized build: libdbus, which Qt's X11 plugin loads, keeps one allocation to the end.
printf 'leak:libdbus-1.so\n' >"$work/lsan.supp"
export LSAN_OPTIONS="suppressions=$work/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

# First start, from another working folder: Korvale finds its files by its own location.
(cd "$work" && exec "$program/korvale" >"$work/korvale.log" 2>&1) &
korvale_pid=$!

main=$(window Korvale) || fail "the main window did not appear"
[ "$(visible_count Korvale)" -eq 1 ] || fail "a message box came up at the first start"
read -r width height <<<"$(size_of "$main")"
[ "$width" -eq 449 ] || fail "the main window is $width pixels wide, not 449"
menu_bar=$((height - 142))
[ -f "$program/UTDir.ini" ] || fail "UTDir.ini was not created"
[ ! -s "$program/UTDir.ini" ] || fail "UTDir.ini is not empty"
[ ! -e "$program/User.ini" ] || fail "User.ini was created at start-up"

# Set UT Dir (Alt+S): replace the initial text with the game folder and Save (Alt+S).
focus "$main"
xdotool key alt+s
dialog=$(window "Set the UT Directory") || fail "the Game folder dialog did not open"
focus "$dialog"
xdotool key ctrl+a
xdotool type --delay 20 "$game"
xdotool key alt+s
wait_until '[ "$(visible_count "Set the UT Directory")" -eq 0 ]' ||
    fail "the Game folder dialog did not close on Save"
[ "$(cat "$program/UTDir.ini")" = "$game" ] || fail "UTDir.ini holds '$(cat "$program/UTDir.ini")'"

# Add UT User (Alt+A): name, Tab, password, Save (Alt+S).
focus "$main"
xdotool key alt+a
dialog=$(window "New User") || fail "the New player dialog did not open"
focus "$dialog"
xdotool type --delay 20 "Clan Tag"
xdotool key Tab
xdotool type --delay 20 "s3cret,x"
xdotool key alt+s
wait_until '[ "$(visible_count "New User")" -eq 0 ]' || fail "the New player dialog did not close on Save"
[ "$(cat "$program/User.ini")" = "Clan Tag,s3cret,x" ] ||
    fail "User.ini holds '$(cat "$program/User.ini")'"

# Pick: click into the list's edit box and press Down; then click PLAY UNREAL TOURNAMENT.
focus "$main"
xdotool mousemove --window "$main" 120 $((menu_bar + 66)) click 1
sleep 0.2
xdotool key Down
sleep 0.2
xdotool mousemove --window "$main" 224 $((menu_bar + 112)) click 1

started=$game/System/started.txt
wait_until '[ -s "$started" ]' || fail "the game was not started"
[ "$(head -n 1 "$started")" = "$game/System/UnrealTournament.exe" ] ||
    fail "the game was started as '$(head -n 1 "$started")'"
printf '%s' "$profile" | cmp -s - "$game/System/UserKorvale.old" ||
    fail "the backup does not hold the old profile"
expected=$'[URL]\r\nName=Clan Tag\r\n[Engine.GameReplicationInfo]\r\nngWorldSecret=s3cret,x\r\nKeep=this\r\n'
printf '%s' "$expected" | cmp -s - "$game/System/User.ini" ||
    fail "the profile was not rewritten: $(od -c "$game/System/User.ini" | head -n 20)"
[ "$(visible_count Korvale)" -eq 1 ] || fail "a message box came up during Play"
kill -0 "$korvale_pid" 2>/dev/null || fail "Korvale did not stay open after Play"

# File, Exit ends Korvale.
focus "$main"
xdotool key alt+f
sleep 0.3
xdotool key e
wait_until '! kill -0 "$korvale_pid" 2>/dev/null' || fail "File, Exit did not end Korvale"
wait "$korvale_pid" || fail "Korvale ended with status $?"
korvale_pid=

# The next start with a blank game folder says so before the main window is shown, and goes on
# to it when the message is closed (Enter presses its OK).
: >"$program/UTDir.ini"
(cd "$work" && exec "$program/korvale" >"$work/korvale.log" 2>&1) &
korvale_pid=$!
box=$(window Korvale) || fail "nothing came up at the second start"
read -r width height <<<"$(size_of "$box")"
[ "$width" -ne 449 ] || fail "the main window came up before the message"
focus "$box"
xdotool key Return
wait_until '[ "$(xdotool search --onlyvisible --name "^Korvale\$" 2>/dev/null | head -n 1)" != "$box" ]' ||
    fail "the message box did not close"
main=$(window Korvale) || fail "the main window did not follow the message"
read -r width height <<<"$(size_of "$main")"
[ "$width" -eq 449 ] || fail "the window after the message is $width pixels wide"
focus "$main"
xdotool key alt+f
sleep 0.3
xdotool key e
wait_until '! kill -0 "$korvale_pid" 2>/dev/null' || fail "File, Exit did not end Korvale"
korvale_pid=

echo "PASSED: first start, game folder, new identity, pick, Play, Exit, and a start with a blank folder"
