#!/usr/bin/env bash
# CTest fixture for the Win32 tests: one Wine prefix, one private Xvfb and one
# long-lived wineserver per build tree.
#
#   fixture.sh setup STATE_DIR    (re)starts everything; safe after a crash
#   fixture.sh cleanup STATE_DIR  stops what setup started; tolerates no state
#
# STATE_DIR/prefix is the prefix, STATE_DIR/display the X display number.
set -euo pipefail

usage() { echo "usage: $0 setup|cleanup STATE_DIR" >&2; exit 2; }
[[ $# -eq 2 ]] || usage
mode=$1
[[ $mode == cleanup && ! -d $2 ]] && exit 0
mkdir -p "$2"
state=$(cd "$2" && pwd)

export WINEPREFIX=$state/prefix WINEARCH=win64 WINEDEBUG=-all
# No Mono or Gecko install dialogs, no menu entries in the user's desktop.
export WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d'
# Never touch the caller's desktop.
unset DISPLAY WAYLAND_DISPLAY
# The same prefix and desktop process whoever runs the tests; each test
# still runs in the locale of its own environment.
export LANG=C.UTF-8
unset LANGUAGE "${!LC_@}"

# shellcheck source=../../scripts/lib/wine-prefix.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/lib/wine-prefix.sh"

stop() {
    if [[ -d $WINEPREFIX ]]; then
        wine_t 30 wineserver -k >/dev/null 2>&1 || true
        wine_t 30 wineserver -w >/dev/null 2>&1 || true
    fi
    stop_xvfb
}

setup() {
    stop
    start_xvfb
    if ! prefix_is_current "$WINEPREFIX"; then
        prefix_from_template "$WINEPREFIX"
    elif ! has_settings "$WINEPREFIX"; then
        write_settings "$WINEPREFIX"
    fi
    # A server that outlives each test saves ~2.5 s per test; -p10 ends it
    # on its own if cleanup never runs. Its output must not hold CTest's pipe.
    wine_t 30 wineserver -p10 </dev/null >/dev/null 2>&1 || die "wineserver did not start"
    wine_t 60 wine wineboot </dev/null >/dev/null 2>&1 || die "wineboot failed"
    # Wine starts the desktop process with the first window. Start it here:
    # started by a test it holds that test's output, and CTest waits for it.
    wine_t 30 wine rundll32 user32.dll,GetDesktopWindow </dev/null >/dev/null 2>&1 ||
        die "no desktop process"
    echo "Wine prefix $WINEPREFIX on display $DISPLAY"
}

case $mode in
    setup) setup ;;
    cleanup) stop ;;
    *) usage ;;
esac
