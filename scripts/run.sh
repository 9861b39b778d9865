#!/usr/bin/env bash
# Builds Tintwise and starts it under Wine through the release zips' launcher
# (dist/tintwise-wine.sh), which also checks the prefix's font.
#
#   scripts/run.sh          in your own Wine prefix ($WINEPREFIX, else ~/.wine),
#                           where Jw_cad under Wine keeps its settings; a
#                           32-bit prefix gets the 32-bit build
#   scripts/run.sh --demo   in a scratch prefix with a sample palette
#
# Without a display it runs on a private X server, saves a screenshot,
# closes the window and prints where the PNG is.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

demo=false
case ${1:-} in
    --demo) demo=true ;;
    "") ;;
    *) echo "usage: $0 [--demo]" >&2; exit 2 ;;
esac

scripts/setup.sh
state=$root/build/run
mkdir -p "$state"
# shellcheck source=lib/wine-prefix.sh
source scripts/lib/wine-prefix.sh
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES-'mscoree,mshtml=;winemenubuilder.exe=d'}

# A palette to look at; each text is blue, green, red in hex, as Jw_cad keeps it.
seed_demo_palette() {
    import_reg "$WINEPREFIX" <<'REG'
[-HKEY_CURRENT_USER\SOFTWARE\Jw_cad]

[HKEY_CURRENT_USER\SOFTWARE\Jw_cad\jw_win\Pen]
"Color01"="FFFF00"
"Color02"="FFFFFF"
"Color03"="00FF00"
"Color04"="00FFFF"
"Color05"="FF00FF"
"Color06"="FF8000"
"Color07"="808000"
"Color08"="8080FF"
"Color09"="80A080"
"Color10"="0080FF"
"Color11"="80FFFF"
"Color12"="C0C0C0"
"PrCol01"="000000"
"PrCol02"="404040"
"PrCol03"="0000FF"
"PrCol04"="008000"
"PrCol05"="FF0000"
"PrCol06"="800080"
"PrCol07"="004080"
"PrCol08"="808000"
"Color00"="301010"
"ColorZl"="0080FF"
"ColorZm"="FFFFFF"
"PrCol12"="808080"
REG
}

if $demo; then
    export WINEPREFIX=$state/demo-prefix
    prefix_is_current "$WINEPREFIX" || prefix_from_template "$WINEPREFIX"
    seed_demo_palette
else
    export WINEPREFIX=${WINEPREFIX:-$HOME/.wine}
fi

preset=windows
grep -qx '#arch=win32' "$WINEPREFIX/system.reg" 2>/dev/null && preset=windows-x86
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target Tintwise -j2 >/dev/null
launcher=$root/build/$preset/bin/tintwise-wine.sh

if [[ -n ${DISPLAY:-} ]]; then
    exec "$launcher"
fi

# No display: a private one, a virtual desktop so that the window has its
# frame, a screenshot, then Alt+F4 as a user would close it.
trap stop_xvfb EXIT
start_xvfb
png=$root/build/run/tintwise.png
TINTWISE_WINE_DESKTOP=660x480 "$launcher" </dev/null >/dev/null &
wine_pid=$!
desktop=
for _ in $(seq 300); do
    desktop=$(xdotool search --name '^Tintwise' 2>/dev/null | head -n 1) && [[ -n $desktop ]] && break
    sleep 0.1
done
[[ -n $desktop ]] || die "no window appeared within 30 s"
sleep 2  # let the first paint finish
xwd -root -silent | convert xwd:- -crop 660x480+0+0 +repage "$png"
xdotool windowfocus --sync "$desktop" key alt+F4 2>/dev/null || true
for _ in $(seq 100); do kill -0 "$wine_pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$wine_pid" 2>/dev/null; then
    echo "run.sh: the window did not close on Alt+F4; ending it" >&2
    kill "$wine_pid" 2>/dev/null || true
fi
wait "$wine_pid" 2>/dev/null || true
echo "Screenshot: $png"
