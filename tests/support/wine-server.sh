#!/bin/sh
# Holds one Wine server for a whole test run, its services started, or lets it go.
# Usage: wine-server.sh hold|release WINE WINESERVER-COMMAND...
# Wine's server and services outlive this script: they are cut off from its output, which the
# test runner waits on until every holder has closed it.
set -u
action=$1
wine=$2
shift 2
case $action in
    hold)
        # A server left running by an interrupted run is not held: replace it.
        "$@" -k 2>/dev/null
        "$@" -w
        "$@" -p </dev/null >/dev/null 2>&1 || exit 1
        exec "$wine" cmd.exe /c exit </dev/null >/dev/null 2>&1
        ;;
    release)
        "$@" -k 2>/dev/null || true
        ;;
    *)
        echo "usage: $0 hold|release WINE WINESERVER-COMMAND..." >&2
        exit 2
        ;;
esac
