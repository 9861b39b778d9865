#!/usr/bin/env bash
# Runs one Windows program in the prefix and on the display that fixture.sh
# set up, and exits with the program's exit code (124 or 137 on time-out).
#   run.sh STATE_DIR EXE [ARGS...]
set -euo pipefail

[[ $# -ge 2 ]] || { echo "usage: $0 STATE_DIR EXE [ARGS...]" >&2; exit 2; }
state=$1
shift
[[ -s $state/display && -f $state/prefix/system.reg ]] ||
    { echo "run.sh: no Wine fixture in $state (run the wine.setup test)" >&2; exit 1; }

export WINEPREFIX=$state/prefix WINEARCH=win64 WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d'
DISPLAY=:$(<"$state/display")
export DISPLAY
unset WAYLAND_DISPLAY

exec timeout -k 5 "${TINTWISE_WINE_TIMEOUT:-100}" wine "$@" </dev/null
