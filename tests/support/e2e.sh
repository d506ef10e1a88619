# Shared by the end-to-end scripts, which drive a real Korvale from outside: sourced after they
# have set $work, the folder whose korvale.log holds the program's output.

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
