# Shared by the end-to-end scripts, which drive a real Korvale from outside with xdotool: sourced
# after they have set $work, the folder whose korvale.log holds the program's output.

# Ends the script as failed, with the program's last output.
fail() {
    echo "FAILED: $*" >&2
    if [ -s "$work/korvale.log" ]; then
        echo "--- the program's output:" >&2
        tail -n 40 "$work/korvale.log" >&2
    fi
    exit 1
}

# Waits up to $2 seconds (default 30: a loaded machine is slow) for the command $1 to succeed.
wait_until() {
    local deadline=$((SECONDS + ${2:-30}))
    until eval "$1"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

# The ids of the visible windows titled exactly $1.
windows_named() {
    xdotool search --onlyvisible --name "^$1\$" 2>/dev/null || true
}
# The id of the visible window titled exactly $1 other than $2, waiting for it to appear.
new_window() {
    local title=$1 other=${2:-none} found=
    wait_until 'found=$(windows_named "$title" | grep -v -x -e "$other" | head -n 1); [ -n "$found" ]' ||
        return 1
    echo "$found"
}
# Whether the window $2 titled $1 has gone.
gone() {
    ! windows_named "$1" | grep -q -x -e "$2"
}
focus() {
    timeout 10 xdotool windowfocus --sync "$1" || fail "could not give the focus to window $1"
    sleep 0.2
}
# File, Exit in the window $1 ends the Korvale started as $korvale_pid, with status 0.
exit_korvale() {
    focus "$1"
    xdotool key alt+f
    sleep 0.3
    xdotool key e
    wait_until '! kill -0 "$korvale_pid" 2>/dev/null' || fail "File, Exit did not end Korvale"
    wait "$korvale_pid" || fail "Korvale ended with status $?"
    korvale_pid=
}
# Bytes of a file against the bytes printf makes of $2.
same_bytes() {
    printf "$2" | cmp -s - "$1"
}
dump() {
    od -c "$1" 2>&1 | head -n 20
}
# An X server of this run's own, kept up when its last client leaves (-noreset: a program started
# during a reset finds no display); DISPLAY names it, and Korvale is told nothing of Wayland. In a
# sanitized build, libdbus (which Qt's X11 plugin loads) keeps one allocation to the end.
start_xvfb() {
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    wait_until '[ -s "$work/display" ]' 15 || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
    export DISPLAY=":$(head -n 1 "$work/display")"
    unset WAYLAND_DISPLAY
    printf 'leak:libdbus-1.so\n' >"$work/lsan.supp"
    export LSAN_OPTIONS="suppressions=$work/lsan.supp${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
}
