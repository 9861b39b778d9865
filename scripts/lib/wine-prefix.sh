# Shared by the test fixture and the run script: a scratch Wine prefix made
# from a cached template, with the settings our tests and demo rely on, and a
# private Xvfb. Callers set $state, the folder for the Xvfb's pid and display.
# shellcheck shell=bash

die() { echo "${0##*/}: $*" >&2; exit 1; }
wine_t() { timeout -k 5 "$@"; }

# The pid in xvfb.pid may have been reused since a crash: end it only if it
# is still the Xvfb we started.
our_xvfb() {
    local pid
    pid=$(cat "$state/xvfb.pid" 2>/dev/null) || return 1
    [[ $pid =~ ^[0-9]+$ ]] || return 1
    tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -q "^Xvfb .*-displayfd" || return 1
    echo "$pid"
}

stop_xvfb() {
    local pid
    if pid=$(our_xvfb); then
        kill "$pid" 2>/dev/null || true
        for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
        kill -9 "$pid" 2>/dev/null || true
    fi
    rm -f "$state/xvfb.pid" "$state/display"
}

start_xvfb() {
    local pid
    : >"$state/display.new"
    # Xvfb picks a free display and writes its number once it accepts clients.
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp \
        3>"$state/display.new" </dev/null >"$state/xvfb.log" 2>&1 &
    pid=$!
    echo "$pid" >"$state/xvfb.pid"
    for _ in $(seq 100); do
        [[ -s $state/display.new ]] && break
        kill -0 "$pid" 2>/dev/null || die "Xvfb exited: $(tail -n 3 "$state/xvfb.log")"
        sleep 0.1
    done
    [[ -s $state/display.new ]] || die "Xvfb gave no display within 10 s"
    tr -dc 0-9 <"$state/display.new" >"$state/display"
    rm -f "$state/display.new"
    DISPLAY=:$(<"$state/display")
    export DISPLAY
}

# Each as wineserver saves it in the named file; the font name comes out
# escaped.
settings=(
    'user.reg:"Managed"="N"'
    'user.reg:"\xff2d\xff33 \x30b4\x30b7\x30c3\x30af"="IPAGothic"'
    'system.reg:"Debugger"=""'
)

has_settings() {
    local entry
    for entry in "${settings[@]}"; do
        grep -qF "${entry#*:}" "$1/${entry%%:*}" 2>/dev/null || return 1
    done
}

# Imports .reg lines (UTF-8, on stdin, without the header) into prefix $1.
# UTF-16 keeps non-ASCII names intact whatever the locale of this shell or
# of Wine.
import_reg() {
    local prefix=$1 reg
    reg=$(mktemp "$prefix/import-XXXXXX.reg")
    {
        printf '\xff\xfe'
        { printf 'Windows Registry Editor Version 5.00\n\n'; cat; echo; } |
            sed 's/$/\r/' | iconv -f UTF-8 -t UTF-16LE
    } >"$reg"
    WINEPREFIX=$prefix wine_t 60 wine regedit /S "$reg" </dev/null >/dev/null 2>&1 ||
        die "regedit failed in $prefix"
    rm -f "$reg"
}

# Windows not managed by a window manager close in milliseconds instead of
# waiting 2 s each. Without a debugger a crash ends the program at once with
# the exception's code; winedbg would print a backtrace but then sometimes
# ends the program with code 0, and a crashing test would pass. The
# Japanese UI font is replaced by IPAGothic so that text renders the same
# under every locale.
write_settings() {
    local prefix=$1
    import_reg "$prefix" <<'REG'
[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\AeDebug]
"Debugger"=""

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"ＭＳ ゴシック"="IPAGothic"
REG
    # The registry files are written when the server exits.
    WINEPREFIX=$prefix wine_t 60 wineserver -w || die "wineserver did not exit in $prefix"
    has_settings "$prefix" || die "registry settings missing from $prefix"
}

# Whether Wine's 32-bit loader is installed (Debian: wine32:i386).
wine_has_32bit() {
    compgen -G '/usr/lib*/*/wine/i386-unix/ntdll.so' >/dev/null ||
        compgen -G '/usr/lib*/wine/i386-unix/ntdll.so' >/dev/null
}

# Creating a prefix takes 10 s or more: build one template per Wine version
# and copy it into each build tree. A 64-bit prefix made without the 32-bit
# loader has an empty syswow64 and stops working once the loader is added,
# so that is part of the template's name too.
template_dir() {
    local cache=${XDG_CACHE_HOME:-${HOME:-/tmp}/.cache}/tintwise
    local version kind=win64
    version=$(wine --version 2>/dev/null | tr -c 'A-Za-z0-9.\n' _)
    wine_has_32bit && kind=wow64
    echo "${TINTWISE_WINE_TEMPLATE:-$cache/wine-prefix-$version-$kind}"
}

# Whether prefix $1 was made from the template that fits this Wine.
prefix_is_current() {
    [[ -f $1/system.reg && $(cat "$1/.tintwise-template" 2>/dev/null) == "$(template_dir)" ]]
}

make_template() {
    local template=$1 tmp
    mkdir -p "$(dirname "$template")"
    exec 9>"$template.lock"
    flock -w 300 9 || die "timed out waiting for $template.lock"
    if [[ ! -f $template/system.reg ]] || ! has_settings "$template"; then
        # Also what an interrupted build left.
        rm -rf "$template" "$template".new.*
        tmp=$(mktemp -d "$template.new.XXXXXX")
        WINEPREFIX=$tmp WINEARCH=win64 wine_t 180 wine wineboot -u </dev/null >/dev/null 2>&1 ||
            die "wineboot could not create a prefix"
        WINEPREFIX=$tmp wine_t 60 wineserver -w || die "wineserver did not exit"
        write_settings "$tmp"
        mv "$tmp" "$template"
    fi
    exec 9>&-
}

# A new prefix at $1, from the template (made first when missing).
prefix_from_template() {
    local prefix=$1 template
    template=$(template_dir)
    make_template "$template"
    rm -rf "$prefix"
    # system32 and winsxs hold 670 MB of DLLs that Wine only reads: link
    # them, copy the rest (registry, ini files), and let the server make a
    # new private name for itself.
    if ! cp -al "$template" "$prefix" 2>/dev/null; then
        rm -rf "$prefix"
        cp -a "$template" "$prefix"
    fi
    (cd "$template" && find . -type f ! -path './drive_c/windows/system32/*' \
        ! -path './drive_c/windows/winsxs/*' -print0) |
        while IFS= read -r -d '' f; do
            cp -p --remove-destination "$template/$f" "$prefix/$f"
        done
    rm -f "$prefix/wineserver"
    echo "$template" >"$prefix/.tintwise-template"
}
