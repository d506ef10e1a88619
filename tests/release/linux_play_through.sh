#!/usr/bin/env bash
# End to end on Linux: the release tarball unpacked into a clean Debian 12 root (a desktop's
# libraries, no Qt, no compiler: scripts/clean-root) and run there under Xvfb, driven only by
# keyboard events from outside the process (xdotool). First start through a link (the files go
# beside the real program; told to use Wayland, which it has no plugin for, it opens on X and says
# nothing), the start with a blank game folder, Set UT Dir, New player, and a Play of a stand-in
# game with the profile and its backup checked byte for byte. Korvale sees nothing of this machine
# but the root, so a library the tarball lacks fails the run.
# Usage: linux_play_through.sh <release tarball> <clean root>
set -euo pipefail

if [ "${1:-}" != --inside ]; then
    tarball=$1
    root=$2
    [ -f "$tarball" ] || { echo "FAILED: no release tarball $tarball" >&2; exit 1; }
    [ -x "$root/usr/bin/Xvfb" ] || { echo "FAILED: no clean root in $root" >&2; exit 1; }
    work=$(mktemp -d "$root/tmp/korvale-test.XXXXXX")
    trap 'rm -rf "$work"' EXIT
    mkdir -p "$work/home/Games" "$work/driver" "$work/run"
    chmod 700 "$work/run"
    tar -xzf "$tarball" -C "$work/home/Games"
    cp "$0" "$(dirname "$0")/../support/e2e.sh" "$work/driver/"
    # Every library korvale and lib/ ask for is in lib/ or is one every desktop has; glibc no newer
    # than the players' README promises, and no C++ runtime of this machine.
    folder=$work/home/Games/Korvale
    desktop='^(libc|libm|libdl|libpthread|librt|ld-linux-x86-64|libgcc_s|libX11|libX11-xcb|libxcb'
    desktop+='|libxkbcommon|libfontconfig|libfreetype|libdbus-1)\.so\.[0-9]+$'
    foreign=$(objdump -p "$folder/korvale" "$folder"/lib/* | awk '$1 == "NEEDED" { print $2 }' | sort -u |
              grep -v -E "$desktop" | while read -r library; do [ -e "$folder/lib/$library" ] || echo "$library"; done)
    [ -z "$foreign" ] || { echo "FAILED: the tarball needs libraries a desktop may lack: $foreign" >&2; exit 1; }
    glibc=$(objdump -T "$folder/korvale" "$folder"/lib/* | grep -o 'GLIBC_[0-9.]*' | sort -V | tail -n 1)
    [ "$(printf '%s\n' "$glibc" GLIBC_2.34 | sort -V | tail -n 1)" = GLIBC_2.34 ] ||
        { echo "FAILED: the tarball needs $glibc, newer than the players' README says" >&2; exit 1; }
    inside=${work#"$root"}
    # Its own mount, process and network namespaces: /proc for the root, and no way out of it.
    unshare --mount --net --pid --fork --mount-proc="$root/proc" \
        chroot "$root" /usr/bin/env -i PATH=/usr/bin:/bin LANG=C.UTF-8 HOME="$inside/home" \
        XDG_RUNTIME_DIR="$inside/run" bash "$inside/driver/linux_play_through.sh" --inside "$inside"
    exit
fi

# --- Inside the clean root -----------------------------------------------------------------------
work=$2
program=$HOME/Games/Korvale
game="$HOME/Games/Unreal Tournament"
xvfb_pid=
korvale_pid=
cleanup() {
    [ -n "$korvale_pid" ] && kill "$korvale_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    wait 2>/dev/null || true
}
trap cleanup EXIT
. "$work/driver/e2e.sh"

width_of() {
    xdotool getwindowgeometry --shell "$1" | sed -n 's/^WIDTH=//p'
}
# Starts Korvale (or $1, a link to it) from another folder: it finds its files by its own location.
start_korvale() {
    (cd "$HOME" && exec "${1:-$program/korvale}" </dev/null >>"$work/korvale.log" 2>&1) &
    korvale_pid=$!
}

[ -z "$(ls /usr/lib/x86_64-linux-gnu | grep -i -e qt -e libxcb-icccm)" ] ||
    fail "the clean root holds Qt or the XCB utility libraries: it proves nothing"
[ "$(ls "$HOME/Games")" = Korvale ] || fail "the tarball holds '$(ls "$HOME/Games")', not the folder Korvale"
for file in korvale README-players.txt LICENSE.txt; do
    [ -s "$program/$file" ] || fail "the tarball has no $file in Korvale"
done

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
wait_until '[ -s "$work/display" ]' 15 || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(head -n 1 "$work/display")"
# What a Wayland desktop may export: the static Qt has no plugin for it, and Korvale opens on X.
export QT_QPA_PLATFORM=wayland

# --- First start, through a link: UTDir.ini created empty beside the real program, no message ----
mkdir -p "$HOME/bin"
ln -s "$program/korvale" "$HOME/bin/korvale"
started_at=$(date +%s%N)
start_korvale "$HOME/bin/korvale"
main=$(new_window Korvale) || fail "the main window did not appear"
echo "main window after $(( ($(date +%s%N) - started_at) / 1000000 )) ms"
sleep 0.5
[ "$(windows_named Korvale | wc -l)" -eq 1 ] || fail "a message box came up at the first start"
[ -f "$program/UTDir.ini" ] && [ ! -s "$program/UTDir.ini" ] ||
    fail "no empty UTDir.ini beside korvale: $(ls -la "$program")"
[ ! -e "$program/User.ini" ] || fail "User.ini was created at start-up"
[ ! -e "$HOME/bin/UTDir.ini" ] || fail "UTDir.ini was created beside the link, not the program"
exit_korvale "$main"
[ ! -s "$work/korvale.log" ] || fail "Korvale printed something at its first start"

# --- The next start: "The Path to UT Needs to be set" before the main window --------------------
start_korvale
box=$(new_window Korvale) || fail "nothing came up at the second start"
[ "$(width_of "$box")" -ne 449 ] || fail "the main window came up before the message"
focus "$box"
xdotool key Return
wait_until 'gone Korvale "$box"' || fail "the message box did not close on Enter"
main=$(new_window Korvale "$box") || fail "the main window did not follow the message"

# --- Set UT Dir and New player --------------------------------------------------------------------
mkdir -p "$game/System"
printf '#!/bin/sh\nprintf "%%s\\n" "$0" "$@" >"$(dirname "$0")/started.txt"\n' >"$game/System/UnrealTournament.exe"
chmod +x "$game/System/UnrealTournament.exe"
profile='[URL]\r\nName=OldName\r\n[Engine.GameReplicationInfo]\r\n  ngWorldSecret=oldsecret  \r\nKeep=caf\351\r\n'
printf "$profile" >"$game/System/User.ini"
focus "$main"
xdotool key alt+s
dialog=$(new_window "Set the UT Directory") || fail "the Game folder dialog did not open"
focus "$dialog"
xdotool key ctrl+a
xdotool type --delay 20 "$game"
xdotool key alt+s
wait_until 'gone "Set the UT Directory" "$dialog"' || fail "the Game folder dialog did not close on Save"
same_bytes "$program/UTDir.ini" "$game" || fail "UTDir.ini holds: $(dump "$program/UTDir.ini")"
focus "$main"
xdotool key alt+a
dialog=$(new_window "New User") || fail "the New player dialog did not open"
focus "$dialog"
xdotool type --delay 20 "Clan Tag"
xdotool key Tab
xdotool type --delay 20 "s3cret,x"
xdotool key alt+s
wait_until 'gone "New User" "$dialog"' || fail "the New player dialog did not close on Save"
same_bytes "$program/User.ini" 'Clan Tag,s3cret,x' || fail "User.ini holds: $(dump "$program/User.ini")"

# --- Play: the identity picked, the profile rewritten, its backup, the game started -------------
focus "$main"
xdotool key Down Tab space
wait_until '[ -s "$game/System/started.txt" ]' || fail "the game was not started"
[ "$(head -n 1 "$game/System/started.txt")" = "$game/System/UnrealTournament.exe" ] ||
    fail "the game was started as: $(cat "$game/System/started.txt")"
same_bytes "$game/System/UserKorvale.old" "$profile" ||
    fail "the backup does not hold the old profile: $(dump "$game/System/UserKorvale.old")"
same_bytes "$game/System/User.ini" \
    '[URL]\r\nName=Clan Tag\r\n[Engine.GameReplicationInfo]\r\nngWorldSecret=s3cret,x\r\nKeep=caf\351\r\n' ||
    fail "the profile was not rewritten: $(dump "$game/System/User.ini")"
[ "$(windows_named Korvale | wc -l)" -eq 1 ] || fail "a message box came up during Play"
exit_korvale "$main"

echo "PASSED: the tarball in a clean root: first start, blank folder, Set UT Dir, New player, Play, Exit"
