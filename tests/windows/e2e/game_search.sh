#!/usr/bin/env bash
# End to end: the games Korvale finds on a Linux home, offered in the Game folder dialog of the real
# program under Xvfb, driven by keys from outside (xdotool). The home holds the native game where
# OldUnreal's installer puts it, a Steam whose usual roots link to one another with a library that
# holds the game and one that holds its folder without its program, Flatpak's Steam with a list in
# the older form, and a Wine prefix. Down and Up pick among exactly those four, in that order;
# what is typed is stored as typed, the list down or not; the first, the native game, plays. With
# nothing installed nothing drops; on a blank UTDir.ini the list drops by itself.
# Usage: game_search.sh <korvale> <stand-in game>
set -euo pipefail
korvale_binary=$1 standin_binary=$2
for tool in Xvfb xdotool xwininfo; do
    command -v "$tool" >/dev/null || { echo "SKIPPED: $tool is not installed"; exit 77; }
done
# The native game's program is named for the machine; this home holds the x86-64 one.
[ "$(uname -m)" = x86_64 ] || { echo "SKIPPED: not an x86-64 machine"; exit 77; }
work=$(mktemp -d)
program=$work/program home=$work/home libraries=$work/libraries
xvfb_pid= korvale_pid=
cleanup() {
    for pid in $korvale_pid $xvfb_pid; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
. "$(dirname "$0")/../../support/e2e.sh"

# --- The home: four games, in the order they are offered, and places that hold none -----------
native=$home/.local/share/OldUnreal/UnrealTournament
steam=$home/.local/share/Steam flatpak=$home/.var/app/com.valvesoftware.Steam/.local/share/Steam
games=("$native" "$libraries/second/steamapps/common/Unreal Tournament"
       "$libraries/flatpak/steamapps/common/Unreal Tournament" "$home/.wine/drive_c/UnrealTournament")
mkdir -p "$program" "$native/System64" "$steam/steamapps" "$flatpak/steamapps" "$home/.steam" \
    "$libraries/third/steamapps/common/Unreal Tournament/System" "$work/nothing" "$work/runtime"
for game in "${games[@]:1}"; do
    mkdir -p "$game/System"
    cp "$standin_binary" "$game/System/UnrealTournament.exe"
done
cp "$standin_binary" "$native/System64/ut-bin-amd64"
chmod +x "$native/System64/ut-bin-amd64"
profile='[URL]\r\nName=Old\r\n[Engine.GameReplicationInfo]\r\nngWorldSecret=old\r\n'
printf "$profile" >"$native/System64/User.ini"
ln -s "$steam" "$home/.steam/steam"
ln -s "$steam" "$home/.steam/root"
cat >"$steam/steamapps/libraryfolders.vdf" <<EOF
"libraryfolders"
{
	"0"
	{
		"path"		"$steam"
		"apps"
		{
		}
	}
	"1"
	{
		"path"		"$libraries/second"
		"apps"
		{
			"13240"		"0"
		}
	}
	"2"
	{
		"path"		"$libraries/third"
	}
}
EOF
cat >"$flatpak/steamapps/libraryfolders.vdf" <<EOF
"LibraryFolders"
{
	"TimeNextStatsReport"		"1700000000"
	"ContentStatsID"		"-4421345233453523"
	"1"		"$libraries/flatpak"
}
EOF
cp "$korvale_binary" "$program/korvale"
printf 'Alpha,a1\r\nBeta,b2' >"$program/User.ini"

start_xvfb
export QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR=$work/runtime
unset XDG_DATA_HOME WINEPREFIX
chmod 700 "$XDG_RUNTIME_DIR"

# Korvale with the home $1, and its main window.
start_korvale() {
    HOME=$1 "$program/korvale" >>"$work/korvale.log" 2>&1 &
    korvale_pid=$!
    main=$(new_window Korvale) || fail "the main window did not appear"
}
# Whether the list of games is down: a window of Korvale's that no window manager manages.
list_down() {
    local id
    for id in $(xdotool search --all --onlyvisible --pid "$korvale_pid" --name '' 2>/dev/null); do
        xwininfo -id "$id" 2>/dev/null | grep -q 'Override Redirect State: *yes' && return 0
    done
    return 1
}
open_dialog() {
    focus "$main"
    xdotool key alt+s
    dialog=$(new_window "Set the UT Directory") || fail "$1: the Game folder dialog did not open"
}
# Down until the list drops: a key sent before the dialog has asked for the games does nothing.
drop_by_down() {
    local attempt
    for attempt in 1 2 3 4 5; do
        xdotool key Down
        ! wait_until list_down 3 || return 0
    done
    fail "$1: Down did not drop the list"
}
# The dialog closed by the keys $2..., and UTDir.ini holding exactly $3.
closed_storing() {
    local case=$1 keys=$2 want=$3
    xdotool key --delay 150 $keys
    wait_until 'gone "Set the UT Directory" "$dialog"' || fail "$case: $keys left the dialog open"
    [ "$(cat "$program/UTDir.ini")" = "$want" ] ||
        fail "$case: UTDir.ini holds '$(cat "$program/UTDir.ini")', not '$want'"
}

# --- Nothing installed: nothing drops, at once or at Down --------------------------------------
start_korvale "$work/nothing"
open_dialog "nothing installed"
xdotool key Down
sleep 1
! list_down || fail "nothing installed: a list dropped"
closed_storing "nothing installed" alt+s 'C:\Games\UnrealTournament'
exit_korvale "$main"

# --- A folder stored: nothing drops by itself, Down drops the four; typing is kept as typed -----
elsewhere=/opt/elsewhere
printf '%s' "$elsewhere" >"$program/UTDir.ini"
start_korvale "$home"
open_dialog "typed, no list"
xdotool key ctrl+a
xdotool type --delay 20 "/srv/UT typed"
! list_down || fail "typed, no list: '/srv/UT typed' dropped a list"
closed_storing "typed, no list" alt+s "/srv/UT typed"
printf '%s' "$elsewhere" >"$program/UTDir.ini"
open_dialog "typed, the list down"
drop_by_down "typed, the list down"
xdotool key ctrl+a
xdotool type --delay 20 "$home/.wine/drive_c/Unreal"
list_down || fail "typed, the list down: the list did not stay down for the Wine game"
closed_storing "typed, the list down" alt+s "$home/.wine/drive_c/Unreal"
# Had the list dropped by itself, the first Down would pick instead of dropping it.
for i in 4 3 2 1; do
    printf '%s' "$elsewhere" >"$program/UTDir.ini"
    open_dialog "Down $i times"
    drop_by_down "Down $i times"
    closed_storing "Down $i times and Enter" "$(printf 'Down %.0s' $(seq "$i")) Return alt+s" "${games[$((i - 1))]}"
done
# Up from the top picks the last: the Wine game, nothing after it.
printf '%s' "$elsewhere" >"$program/UTDir.ini"
open_dialog "Up"
drop_by_down "Up"
closed_storing "Up and Enter" "Up Return alt+s" "${games[3]}"

# --- The first game, the native one, plays: its profile beside its program, its program started -
printf '%s' "${games[0]}" >"$program/UTDir.ini"
exit_korvale "$main"
start_korvale "$home"
focus "$main"
xdotool key Down Tab space
started=$native/System64/started.txt
wait_until '[ -s "$started" ]' || fail "Play did not start the native game"
[ "$(head -n 1 "$started")" = "$native/System64/ut-bin-amd64" ] ||
    fail "Play started '$(head -n 1 "$started")'"
same_bytes "$native/System64/User.ini" '[URL]\r\nName=Alpha\r\n[Engine.GameReplicationInfo]\r\nngWorldSecret=a1\r\n' ||
    fail "Play did not switch the native game's profile: $(dump "$native/System64/User.ini")"
same_bytes "$native/System64/UserKorvale.old" "$profile" || fail "the backup is not the old profile"

# --- UTDir.ini blank: the list drops by itself; Alt+E, typing, Down and Enter work on it --------
: >"$program/UTDir.ini"
open_dialog "blank, Alt+E"
wait_until list_down || fail "blank: the list did not drop by itself"
closed_storing "blank, Alt+E with the list down" alt+e ""
open_dialog "blank, typed"
wait_until list_down || fail "blank: the list did not drop by itself"
xdotool key ctrl+a
xdotool type --delay 20 "$libraries/flat"
list_down || fail "blank, typed: the list did not stay down for Flatpak's game"
closed_storing "blank, typed with the list down" alt+s "$libraries/flat"
: >"$program/UTDir.ini"
open_dialog "blank, Down and Enter"
wait_until list_down || fail "blank: the list did not drop by itself"
closed_storing "blank, Down and Enter" "Down Return alt+s" "${games[0]}"
exit_korvale "$main"
echo "PASSED: nothing installed, typed, the four games in order by Down and Up, the native game played, a blank UTDir.ini"
