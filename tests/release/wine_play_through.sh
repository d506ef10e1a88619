#!/usr/bin/env bash
# End to end on the Windows side: korvale.exe unpacked from the release zip into a fresh Wine
# prefix on Xvfb, driven only by keyboard events from outside the process (xdotool). First start,
# New player and its refusal of a comma, Set UT Dir with a game folder holding spaces, "É" and a
# trailing backslash, a Play that meets a missing profile, and a Play that starts a MinGW-built
# stand-in game; then `korvale.exe --play NAME` for a name with "ë"; then the games found through
# the Unreal Technology key, as OldUnreal's installer writes it, and GOG's, picked in that order from
# the list the Game folder dialog drops. Every file is checked byte for byte, and how the game was
# started.
# A message box's text is read as a Windows user can: Ctrl+C copies it to the clipboard.
# Usage: wine_play_through.sh <release zip> <stand-in game .exe> [screenshot.png]
#   screenshot.png: where to save a picture of the main window, an identity picked.
set -euo pipefail

zip=$1
standin=$2
screenshot=${3:-}

for tool in Xvfb xdotool xwininfo xclip wine wineserver python3; do
    command -v "$tool" >/dev/null || { echo "FAILED: $tool is not installed" >&2; exit 1; }
done
[ -f "$zip" ] || { echo "FAILED: no release zip $zip" >&2; exit 1; }
[ -f "$standin" ] || { echo "FAILED: no stand-in game $standin" >&2; exit 1; }

work=$(mktemp -d)
drive_c=$work/prefix/drive_c
xvfb_pid=
korvale_pid=
# Wine in a prefix of its own; no Mono, Gecko or menu entries. Its file names are UTF-8.
export HOME=$work/home WINEPREFIX=$work/prefix WINEDEBUG=-all LC_ALL=C.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
mkdir -p "$HOME"

cleanup() {
    [ -n "$korvale_pid" ] && kill "$korvale_pid" 2>/dev/null || true
    wineserver -k 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

. "$(dirname "$0")/../support/e2e.sh"

# Puts text on the clipboard as another program would, and pastes it over the focused box's text
# (xdotool cannot type "É": it is not on the keyboard map). Wine takes the clipboard over a moment
# later, so the box's text is copied back to check it, and the paste is repeated until it holds.
paste() {
    local want=$1 got= attempt
    for attempt in 1 2 3 4 5 6 7 8 9; do
        printf '%s' "$want" | xclip -selection clipboard -i >/dev/null 2>&1
        sleep "0.$attempt"
        xdotool key ctrl+a ctrl+v
        sleep 0.3
        printf '%s' "-" | xclip -selection clipboard -i >/dev/null 2>&1
        xdotool key ctrl+a ctrl+c
        wait_until 'got=$(xclip -selection clipboard -o 2>/dev/null); [ "$got" != - ]' 5 || continue
        [ "$got" != "$want" ] || return 0
    done
    fail "could not paste '$want' (the box holds '$got')"
}

# The text of the message box $1, copied with Ctrl+C: title, text, detail and buttons, each
# after a line of dashes. Then OK closes it.
box_text() {
    local box=$1 text=
    printf 'nothing' | xclip -selection clipboard -i >/dev/null 2>&1
    focus "$box"
    xdotool key ctrl+c
    wait_until 'text=$(xclip -selection clipboard -o 2>/dev/null | tr -d "\r"); [ "$text" != nothing ] && [ -n "$text" ]' 10 ||
        fail "could not copy the text of message box $box"
    xdotool key Return
    wait_until 'gone Korvale "$box"' || fail "the message box did not close on Enter"
    printf '%s\n' "$text"
}
start_korvale() {
    # From C:\, not its own folder: Korvale finds its files by its own location.
    (cd "$drive_c" && exec wine 'C:\Games\Korvale\korvale.exe' </dev/null >>"$work/korvale.log" 2>&1) &
    korvale_pid=$!
}
# File, Exit. A game started takes Wine's foreground: a click on the window's picture brings it
# back. The menu opens a moment after Alt+F under a loaded Wine, and a key sent before that is lost.
exit_korvale_exe() {
    local attempt
    for attempt in 1 2 3; do
        focus "$main"
        xdotool mousemove --window "$main" 150 40 click 1
        sleep 0.3
        xdotool key alt+f
        sleep "$attempt"
        xdotool key e
        if wait_until '! kill -0 "$korvale_pid" 2>/dev/null' 10; then
            break
        fi
        xdotool key Escape Escape
    done
    ! kill -0 "$korvale_pid" 2>/dev/null || fail "File, Exit did not end Korvale"
    korvale_pid=
}
# Whether Korvale's list is down: a window of its title shown that no window manager manages, as
# Wine makes a popup (Wine keeps a hidden one of its own, with no title, on screen).
list_down() {
    local id
    for id in $(windows_named Korvale); do
        xwininfo -id "$id" 2>/dev/null | grep -q 'Override Redirect State: *yes' && return 0
    done
    return 1
}

# --- A virtual screen and a fresh prefix --------------------------------------------------------
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
wait_until '[ -s "$work/display" ]' 15 || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(head -n 1 "$work/display")"
unset WAYLAND_DISPLAY
# One server held for the whole run: Wine stops it a moment after the last program ends, and a
# program started just then can fail.
mkdir -p "$WINEPREFIX"
wineserver -p </dev/null >/dev/null 2>&1 || fail "the Wine server did not start"
wine wineboot -i </dev/null >"$work/wineboot.log" 2>&1 || fail "wineboot failed: $(tail "$work/wineboot.log")"

# --- The zip: one folder, Korvale, and nothing else ---------------------------------------------
tops=$(python3 -c 'import sys, zipfile
print("\n".join(sorted({n.split("/")[0] for n in zipfile.ZipFile(sys.argv[1]).namelist()})))' "$zip")
[ "$tops" = Korvale ] || fail "the zip holds '$tops' at its top, not the folder Korvale"
mkdir -p "$drive_c/Games"
python3 -m zipfile -e "$zip" "$drive_c/Games"
program=$drive_c/Games/Korvale
for file in korvale.exe README-players.txt LICENSE.txt; do
    [ -s "$program/$file" ] || fail "the zip has no $file in Korvale"
done
for file in UTDir.ini User.ini; do
    [ ! -e "$program/$file" ] || fail "the zip brings a $file"
done

# The game folder: spaces and "É" in its name. The stand-in game records how it was started.
game="$drive_c/Games/Unreal Tournament É"
mkdir -p "$game/System"
cp "$standin" "$game/System/UnrealTournament.exe"
profile='[URL]\r\nName=OldName\r\n[Engine.GameReplicationInfo]\r\n  ngWorldSecret=oldsecret  \r\nKeep=caf\351\r\n'
printf "$profile" >"$game/System/User.ini"
record=$game/System/UnrealTournament.exe.txt

# --- First start --------------------------------------------------------------------------------
started_at=$(date +%s.%N)
start_korvale
main=$(new_window Korvale) || fail "the main window did not appear"
appeared_at=$(date +%s.%N)
awk -v from="$started_at" -v to="$appeared_at" 'BEGIN { printf "main window after %.2f s\n", to - from }'
sleep 0.5
[ "$(windows_named Korvale | wc -l)" -eq 1 ] || fail "a message box came up at the first start"
[ -f "$program/UTDir.ini" ] || fail "UTDir.ini was not created beside korvale.exe"
[ ! -s "$program/UTDir.ini" ] || fail "UTDir.ini is not empty: $(dump "$program/UTDir.ini")"
[ ! -e "$program/User.ini" ] || fail "User.ini was created at start-up"

# --- New player: a comma in the name is refused, then the record is appended -------------------
focus "$main"
xdotool key alt+a
dialog=$(new_window "New User") || fail "the New player dialog did not open"
focus "$dialog"
xdotool type --delay 30 "Clan,Tag"
xdotool key Tab
xdotool type --delay 30 "s3cret,x"
xdotool key alt+s
box=$(new_window Korvale "$main") || fail "no message refused the comma in the name"
text=$(box_text "$box")
grep -q -x "Please Enter a Player Name without a comma" <<<"$text" ||
    fail "the refusal said: $text"
[ ! -e "$program/User.ini" ] || fail "a refused name was written: $(dump "$program/User.ini")"
focus "$dialog"
xdotool key shift+Tab ctrl+a
xdotool type --delay 30 "Clan Tag"
xdotool key alt+s
wait_until 'gone "New User" "$dialog"' || fail "the New player dialog did not close on Save"
same_bytes "$program/User.ini" 'Clan Tag,s3cret,x' ||
    fail "User.ini holds: $(dump "$program/User.ini")"

# --- Set UT Dir: spaces, "É" and a trailing backslash; Latin-1 in the file -----------------------
focus "$main"
xdotool key alt+s
dialog=$(new_window "Set the UT Directory") || fail "the Game folder dialog did not open"
focus "$dialog"
paste 'C:\Games\Unreal Tournament É\'
xdotool key alt+s
wait_until 'gone "Set the UT Directory" "$dialog"' || fail "the Game folder dialog did not close on Save"
same_bytes "$program/UTDir.ini" 'C:\\Games\\Unreal Tournament \311\\' ||
    fail "UTDir.ini holds: $(dump "$program/UTDir.ini")"

# --- Play without a profile: "Error", nothing written, no game ----------------------------------
mv "$game/System/User.ini" "$work/User.ini"
focus "$main"
xdotool key Down Tab space
box=$(new_window Korvale "$main") || fail "a Play without a profile showed no message"
text=$(box_text "$box")
[ "$(sed -n 4p <<<"$text")" = Error ] || fail "a Play without a profile said: $text"
grep -qF 'User.ini' <<<"$text" || fail "the Error does not name the profile: $text"
[ -z "$(ls "$game/System" | grep -v -x UnrealTournament.exe)" ] ||
    fail "a failed Play left files: $(ls "$game/System")"

# --- Play: the profile rewritten, its backup, the game started minimized ------------------------
mv "$work/User.ini" "$game/System/User.ini"
focus "$main"
xdotool key shift+Tab Down Tab space
wait_until '[ -s "$record" ]' || fail "the game was not started"
game_path='C:\Games\Unreal Tournament É\System\UnrealTournament.exe'
grep -q -x -F "command=\"$game_path\"" "$record" || fail "the game was started with: $(cat "$record")"
grep -q -x "show=2" "$record" || fail "the game was not started minimized: $(cat "$record")"
grep -q -x -F 'cwd=C:\' "$record" || fail "the game did not get Korvale's working folder: $(cat "$record")"
same_bytes "$game/System/UserKorvale.old" "$profile" ||
    fail "the backup does not hold the old profile: $(dump "$game/System/UserKorvale.old")"
same_bytes "$game/System/User.ini" \
    '[URL]\r\nName=Clan Tag\r\n[Engine.GameReplicationInfo]\r\nngWorldSecret=s3cret,x\r\nKeep=caf\351\r\n' ||
    fail "the profile was not rewritten: $(dump "$game/System/User.ini")"
# The lock file stays: removing it would race another Korvale's Play of the same folder.
[ -e "$game/System/User.ini.korvale-lock" ] || fail "Play took no lock beside the profile"
left=$(ls "$game/System" | grep -v -x -e UnrealTournament.exe -e UnrealTournament.exe.txt \
       -e User.ini -e UserKorvale.old -e User.ini.korvale-lock || true)
[ -z "$left" ] || fail "Play left other files in the game's System folder: $left"
[ "$(windows_named Korvale | wc -l)" -eq 1 ] || fail "a message box came up during Play"
if [ -n "$screenshot" ]; then
    import -window "$main" "$screenshot"
fi

# --- File, Exit ends Korvale --------------------------------------------------------------------
exit_korvale_exe
same_bytes "$program/User.ini" 'Clan Tag,s3cret,x' || fail "User.ini changed: $(dump "$program/User.ini")"

# --- korvale.exe --play NAME: the identity named on the command line played, no window ----------
# The name comes in as UTF-8 from here, and reaches Korvale as Windows' UTF-16.
printf '\r\nZo\353,z2' >>"$program/User.ini"
printf "$profile" >"$game/System/User.ini"
rm -f "$record"
status=0
(cd "$drive_c" && exec wine 'C:\Games\Korvale\korvale.exe' --play 'Zoë' </dev/null >>"$work/korvale.log" 2>&1) ||
    status=$?
[ "$status" -eq 0 ] || fail "korvale.exe --play ended with status $status"
wait_until '[ -s "$record" ]' || fail "korvale.exe --play did not start the game"
grep -q -x -F "command=\"$game_path\"" "$record" || fail "--play started the game with: $(cat "$record")"
same_bytes "$game/System/User.ini" \
    '[URL]\r\nName=Zo\353\r\n[Engine.GameReplicationInfo]\r\nngWorldSecret=z2\r\nKeep=caf\351\r\n' ||
    fail "--play did not switch the profile: $(dump "$game/System/User.ini")"
[ "$(windows_named Korvale | wc -l)" -eq 0 ] || fail "a window of Korvale stayed after --play"

# --- The games found: the key OldUnreal's installer writes, then GOG's, offered in that order ---
# GOG's game is not in its installer's default folder, which Korvale also looks in.
for folder in UnrealTournament 'Games/Unreal Tournament GOTY'; do
    mkdir -p "$drive_c/$folder/System"
    cp "$standin" "$drive_c/$folder/System/UnrealTournament.exe"
done
wine reg add 'HKLM\SOFTWARE\Unreal Technology\Installed Apps\UnrealTournament' /v Folder \
    /d 'C:\UnrealTournament' /f /reg:32 >>"$work/reg.log" 2>&1 || fail "reg add: $(cat "$work/reg.log")"
wine reg add 'HKLM\SOFTWARE\GOG.com\Games\1207658691' /v path \
    /d 'C:\Games\Unreal Tournament GOTY' /f /reg:32 >>"$work/reg.log" 2>&1 || fail "reg add: $(cat "$work/reg.log")"
# No folder set: the list drops when the dialog opens; the keys $1 and Enter pick, Save stores $2.
picked() {
    : >"$program/UTDir.ini"
    focus "$main"
    ! list_down || fail "a list is down before the Game folder dialog opens"
    xdotool key alt+s
    dialog=$(new_window "Set the UT Directory") || fail "the Game folder dialog did not open"
    wait_until list_down || fail "no list of games dropped in the Game folder dialog"
    xdotool key --delay 300 $1 Return alt+s
    wait_until 'gone "Set the UT Directory" "$dialog"' || fail "$1, Enter and Alt+S left the dialog open"
    same_bytes "$program/UTDir.ini" "$2" || fail "$1 and Enter stored: $(dump "$program/UTDir.ini")"
}
rm "$program/UTDir.ini"  # a first start: no message about it
start_korvale
main=$(new_window Korvale) || fail "the main window did not appear"
picked Down 'C:\\UnrealTournament'
picked "Down Down" 'C:\\Games\\Unreal Tournament GOTY'
exit_korvale_exe

echo "PASSED: korvale.exe from the zip under Wine: first start, New player, Set UT Dir, Error, Play, Exit, --play, the games found"
