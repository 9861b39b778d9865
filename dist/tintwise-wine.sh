#!/usr/bin/env bash
# Starts the Tintwise.exe beside this script under Wine, in the prefix where
# Jw_cad keeps its settings: $WINEPREFIX, or Wine's default ~/.wine.
#
#   WINEPREFIX=~/.wine-jwcad ./tintwise-wine.sh
#
# Quiet unless WINEDEBUG is set. TINTWISE_WINE_DESKTOP=WIDTHxHEIGHT shows it
# in a Wine virtual desktop, for a display without a window manager.
# Exits with Tintwise's exit code.
set -u

version='@PROJECT_VERSION@'
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd) || exit 1
exe=$here/Tintwise.exe

say() { printf 'tintwise-wine.sh: %s\n' "$*" >&2; }

# The name of the other zip; a copy not made by CMake knows no version.
zip_name() {
    case $version in
        *@*) echo "the Tintwise $1 zip" ;;
        *) echo "Tintwise-$version-$1.zip" ;;
    esac
}

# win32 or win64, from the PE header's machine field.
exe_arch() {
    local b0 b1 b2 b3
    read -r b0 b1 b2 b3 < <(od -An -tu1 -j60 -N4 "$exe") || return
    case $(od -An -tx1 -j$((b0 | b1 << 8 | b2 << 16 | b3 << 24)) -N6 "$exe" | tr -d ' \n') in
        504500004c01) echo win32 ;;
        504500006486) echo win64 ;;
    esac
}

# win32 or win64, as Wine wrote it when it made the prefix.
prefix_arch() {
    sed -n 's/^#arch=\(win[0-9]*\).*/\1/p' "$WINEPREFIX/system.reg" 2>/dev/null | head -n 1
}

# ＭＳ ゴシック is not part of Wine: with neither the font nor a replacement,
# Wine may pick one without Latin letters or digits, and the colours' text
# does not show.
font_missing() {
    local f
    [[ -f $WINEPREFIX/user.reg ]] || return 1
    # Wine escapes the name in user.reg.
    awk '/^\[/ { key = tolower($0) ~ /^\[software\\\\wine\\\\fonts\\\\replacements\]/ }
         key && index($0, "\"\\xff2d\\xff33 \\x30b4\\x30b7\\x30c3\\x30af\"=") == 1 { found = 1 }
         END { exit !found }' "$WINEPREFIX/user.reg" && return 1
    for f in "$WINEPREFIX"/drive_c/windows/[Ff]onts/[Mm][Ss][Gg][Oo][Tt][Hh][Ii][Cc].*; do
        [[ -e $f ]] && return 1
    done
    # Installed for the whole system, where Wine finds it too.
    command -v fc-list >/dev/null && [[ -n $(fc-list ':family=ＭＳ ゴシック' family 2>/dev/null) ]] && return 1
    return 0
}

[[ -f $exe ]] || { say "there is no Tintwise.exe beside this script in $here."; exit 1; }
command -v wine >/dev/null || { say "Wine is not installed (Debian and Ubuntu: sudo apt install wine)."; exit 127; }

WINEPREFIX=${WINEPREFIX:-$HOME/.wine}
[[ $WINEPREFIX == /* ]] || WINEPREFIX=$PWD/$WINEPREFIX
export WINEPREFIX
export WINEDEBUG=${WINEDEBUG--all}

if [[ ! -f $WINEPREFIX/system.reg ]]; then
    say "there is no Wine prefix in $WINEPREFIX yet, so Wine makes a new one, without Jw_cad's settings; set WINEPREFIX to the prefix where Jw_cad is."
else
    prefix=$(prefix_arch) program=$(exe_arch)
    if [[ $prefix == win32 && $program == win64 ]]; then
        say "$WINEPREFIX is a 32-bit Wine prefix, which cannot run this 64-bit Tintwise.exe: use the one in $(zip_name win32)."
        exit 1
    elif [[ $prefix == win64 && $program == win32 ]]; then
        say "$WINEPREFIX is a 64-bit Wine prefix and this Tintwise.exe is 32-bit: it runs, but the one in $(zip_name win64) is made for it."
    fi
    if font_missing; then
        say "$WINEPREFIX has no ＭＳ ゴシック nor a replacement for it, so Tintwise's text may not show; to map it to IPAGothic (package fonts-ipafont-gothic), run:"
        printf "  LANG=C.UTF-8 WINEPREFIX=%q wine reg add 'HKCU\\\\Software\\\\Wine\\\\Fonts\\\\Replacements' /v 'ＭＳ ゴシック' /d IPAGothic /f\n" "$WINEPREFIX" >&2
    fi
fi

if [[ -n ${TINTWISE_WINE_DESKTOP:-} ]]; then
    exec wine explorer "/desktop=Tintwise,$TINTWISE_WINE_DESKTOP" "$exe" "$@"
fi
exec wine "$exe" "$@"
