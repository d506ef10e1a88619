#!/usr/bin/env bash
# End to end: the real korvale binary under Xvfb, driven only by keyboard and mouse events from
# outside the process (xdotool). First start, game folder, new identity, pick, Play; then the
# files on disk and the stand-in game's start are checked; then the name list's menu edits, moves
# and removes entries, and a Play of another entry follows. Where a D-Bus session and Korvale's
# accessibility bus can be had, the tree screen readers read is checked too: no password in it.
# Korvale runs from a folder with a backslash in its name, and is told to use Wayland, for which it
# has no plugin: it opens on X all the same, and prints nothing.
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
program=$work/'Korvale\program'  # its own folder: it keeps UTDir.ini and User.ini beside itself
game=$work/game
xvfb_pid=
korvale_pid=
bus_pid=

cleanup() {
    [ -n "$korvale_pid" ] && kill "$korvale_pid" 2>/dev/null || true
    [ -n "$bus_pid" ] && kill "$bus_pid" 2>/dev/null || true
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
# One line a node of Korvale's accessible tree, depth first from $2 (default its root): the node's
# role, name, description and text, each as gdbus prints it, then the names of the nodes it is
# related to (a list's label among them).
a11y_call() {
    gdbus call --address "$a11y" --dest "$1" --object-path "$2" --method "$3" "${@:4}" 2>/dev/null
}
a11y_paths() {
    grep -oE "'/org/a11y/atspi/accessible/[^']*'" | tr -d "'"
}
a11y_name() {
    a11y_call "$1" "$2" org.freedesktop.DBus.Properties.Get org.a11y.atspi.Accessible Name
}
a11y_tree() {
    local app=$1 path=${2:-/org/a11y/atspi/accessible/root} child related
    echo "$(a11y_call "$app" "$path" org.a11y.atspi.Accessible.GetRoleName)" \
        "$(a11y_name "$app" "$path")" \
        "$(a11y_call "$app" "$path" org.freedesktop.DBus.Properties.Get org.a11y.atspi.Accessible Description)" \
        "$(a11y_call "$app" "$path" org.a11y.atspi.Text.GetText 0 -- -1)" \
        "$(for related in $(a11y_call "$app" "$path" org.a11y.atspi.Accessible.GetRelationSet |
            a11y_paths); do a11y_name "$app" "$related"; done)"
    for child in $(a11y_call "$app" "$path" org.a11y.atspi.Accessible.GetChildren | a11y_paths); do
        a11y_tree "$app" "$child"
    done
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

start_xvfb
# What a Wayland desktop may export; where this Qt has a plugin for it, X is asked for plainly.
export QT_QPA_PLATFORM=wayland
if ls "$(qtpaths6 --query QT_INSTALL_PLUGINS 2>/dev/null)"/platforms/*wayland* >/dev/null 2>&1; then
    echo "NOTE: this Qt has a Wayland plugin: the fallback to X is not tested"
    QT_QPA_PLATFORM=xcb
fi
export XDG_RUNTIME_DIR=$work/runtime  # Qt asks for one; the accessibility bus keeps it too
mkdir -m 700 "$XDG_RUNTIME_DIR"

# A session bus of this run's own, and on it the accessibility bus Korvale is told to join.
a11y=
if command -v dbus-daemon >/dev/null && command -v gdbus >/dev/null; then
    read -r bus_address bus_pid < <(dbus-daemon --session --fork --print-address=1 --print-pid=1 \
        2>>"$work/dbus.log" | tr '\n' ' ') || true
    if [ -n "${bus_address:-}" ]; then
        export DBUS_SESSION_BUS_ADDRESS=$bus_address
        a11y=$(gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
            --method org.a11y.Bus.GetAddress 2>>"$work/dbus.log" | sed -E "s/^\('(.*)',\)\$/\1/")
    fi
fi
if [ -n "$a11y" ]; then
    export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
else
    echo "NOTE: no accessibility bus (Debian packages dbus and at-spi2-core): its check is skipped"
fi

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

# What a screen reader reads now: the list is labelled "UT User" (on Linux Qt names a list by its
# text and gives its label as a relation), holds one item for the one player, and the picked
# player's password is nowhere.
if [ -n "$a11y" ]; then
    app=$(gdbus call --address "$a11y" --dest org.a11y.atspi.Registry \
        --object-path /org/a11y/atspi/accessible/root --method org.a11y.atspi.Accessible.GetChildren |
        grep -oE "':[0-9.]+'" | head -n 1 | tr -d "'")
    [ -n "$app" ] || fail "Korvale is not on the accessibility bus"
    a11y_tree "$app" >"$work/a11y.txt"
    ! grep -F "s3cret" "$work/a11y.txt" || fail "the password is on the accessibility bus"
    [ "$(grep -c "^('list item',)" "$work/a11y.txt")" -eq 1 ] ||
        fail "the name list holds other than one item: $(grep "list item" "$work/a11y.txt")"
    grep "^('combo box',)" "$work/a11y.txt" | grep -qF "<'UT User'>" ||
        fail "the name list is not named UT User: $(grep "combo box" "$work/a11y.txt")"
fi
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

# The name list's menu, by keys alone (Shift+F10, the Menu key; a right click once), a letter
# picking its item; User.ini checked byte for byte after each change.
players_are() { same_bytes "$program/User.ini" "$1" || fail "after $2 User.ini holds: $(dump "$program/User.ini")"; }
list_keys() {  # the list's text box clicked into, then the keys
    focus "$main"
    xdotool mousemove --window "$main" 120 $((menu_bar + 66)) click 1 sleep 0.2 key --delay 200 "$@"
    sleep 0.3
}
for player in "Bravo pw2" "Charlie pw3"; do
    focus "$main"
    xdotool key alt+a
    dialog=$(window "New User") || fail "the New player dialog did not open"
    focus "$dialog"
    xdotool type --delay 20 "${player% *}"
    xdotool key Tab
    xdotool type --delay 20 "${player#* }"
    xdotool key alt+s
    wait_until '[ "$(visible_count "New User")" -eq 0 ]' || fail "the New player dialog did not close"
done
players_are $'Clan Tag,s3cret,x\r\nBravo,pw2\r\nCharlie,pw3' "two added"
list_keys Down shift+F10 e  # Bravo picked, and edited
dialog=$(window "Edit UT User") || fail "the Edit dialog did not open"
focus "$dialog"
xdotool key ctrl+a
xdotool type --delay 20 Bravo2
xdotool key Tab ctrl+a
xdotool type --delay 20 pw22
xdotool key alt+s
wait_until '[ "$(visible_count "Edit UT User")" -eq 0 ]' || fail "the Edit dialog did not close on Save"
players_are $'Clan Tag,s3cret,x\r\nBravo2,pw22\r\nCharlie,pw3' "the edit"
list_keys Menu u  # still picked, moved up
players_are $'Bravo2,pw22\r\nClan Tag,s3cret,x\r\nCharlie,pw3' "the move up"
list_keys Down Down
xdotool click 3 sleep 0.3 key r  # Charlie removed, after the question
wait_until '[ "$(visible_count Korvale)" -eq 2 ]' || fail "Remove asked no question"
xdotool key y
wait_until '[ "$(visible_count Korvale)" -eq 1 ]' || fail "the question did not close on Y"
players_are $'Bravo2,pw22\r\nClan Tag,s3cret,x' "the removal"

# A Play of the removed entry's neighbour, the one edited and moved, writes its own pair.
list_keys Down Tab space
expected=$'[URL]\r\nName=Bravo2\r\n[Engine.GameReplicationInfo]\r\nngWorldSecret=pw22\r\nKeep=this\r\n'
wait_until 'printf "%s" "$expected" | cmp -s - "$game/System/User.ini" && [ "$(wc -l <"$started")" -ge 4 ]' ||
    fail "the neighbour's Play did not write its pair: $(dump "$game/System/User.ini")"

# After the Play, screen readers find the entry in the game described as such, and no password.
if [ -n "$a11y" ] && sleep 0.5 && a11y_tree "$app" >"$work/a11y.txt"; then
    ! grep -F -e "s3cret" -e "pw22" "$work/a11y.txt" || fail "a password is on the accessibility bus"
    [ "$(grep "In the game now" "$work/a11y.txt")" = "$(grep "^('list item',) (<'Bravo2'>,)" "$work/a11y.txt")" ] ||
        fail "the entry in the game is not described alone: $(grep "list item" "$work/a11y.txt")"
fi

# File, Exit ends Korvale, which has said nothing on its way.
exit_korvale "$main"
[ ! -s "$work/korvale.log" ] || fail "Korvale printed something"

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
exit_korvale "$main"

echo "PASSED: first start, game folder, new identity, pick, Play, edit, move, remove, Play, Exit, and a start with a blank folder"
