#!/usr/bin/env bash
# The Wine launcher of the release zips, run against a stand-in `wine` and
# `fc-list` on PATH: what it runs, what it says, and its exit code.
#   launcher_test.sh LAUNCHER
set -uo pipefail

[[ $# -eq 1 && -f $1 ]] || { echo "usage: $0 LAUNCHER" >&2; exit 2; }
launcher=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# The stand-ins: wine records its arguments and environment and exits with
# $FAKE_WINE_RC; fc-list knows the families in $FAKE_FC_FAMILIES.
mkdir "$tmp/bin"
cat >"$tmp/bin/wine" <<'SH'
#!/usr/bin/env bash
{ printf '%s\n' "$@"; echo "WINEPREFIX=$WINEPREFIX"; echo "WINEDEBUG=${WINEDEBUG-unset}"; } >"$FAKE_WINE_LOG"
exit "${FAKE_WINE_RC:-0}"
SH
cat >"$tmp/bin/fc-list" <<'SH'
#!/usr/bin/env bash
[[ -n ${FAKE_FC_FAMILIES:-} && $1 == *"$FAKE_FC_FAMILIES"* ]] && echo "$FAKE_FC_FAMILIES"
exit 0
SH
chmod +x "$tmp/bin/"*

# A PE header is all the launcher reads of the exe.
fake_exe() {
    local machine
    case $2 in win64) machine='\x64\x86' ;; win32) machine='\x4c\x01' ;; esac
    { printf 'MZ'; head -c 58 /dev/zero; printf '\x40\0\0\0PE\0\0'"$machine"; head -c 64 /dev/zero; } >"$1"
}

# A prefix as Wine leaves it; font: none, replaced (in user.reg) or file.
fake_prefix() {
    local dir=$1 arch=$2 font=$3
    mkdir -p "$dir/drive_c/windows/Fonts"
    printf 'WINE REGISTRY Version 2\n;; All keys relative to REGISTRY\\\\Machine\n\n#arch=%s\n' "$arch" >"$dir/system.reg"
    printf 'WINE REGISTRY Version 2\n\n[Software\\\\Wine\\\\Fonts] 1700000000\n#time=1\n"\\xff2d\\xff33 \\x30b4\\x30b7\\x30c3\\x30af"="elsewhere"\n\n' >"$dir/user.reg"
    case $font in
        replaced) printf '[Software\\\\Wine\\\\Fonts\\\\Replacements] 1700000000\n#time=1\n"\\xff2d\\xff33 \\x30b4\\x30b7\\x30c3\\x30af"="IPAGothic"\n' >>"$dir/user.reg" ;;
        file) : >"$dir/drive_c/windows/Fonts/msgothic.ttc" ;;
    esac
}

failures=0 count=0
fail() { echo "FAIL [$name]: $*"; case_failed=1; }

# name | prefix arch | exe arch | font | wine's exit code | expected exit code | wine runs | what stderr says (ERE, or - for nothing)
while IFS='|' read -r name parch earch font wrc want_rc want_run want_err; do
    [[ -z $name || $name == \#* ]] && continue
    for field in name parch earch font wrc want_rc want_run want_err; do
        declare -n value=$field
        value=${value#"${value%%[![:space:]]*}"} value=${value%"${value##*[![:space:]]}"}
        declare +n value
    done
    count=$((count + 1)) case_failed=0
    case_dir="$tmp/case $count/Tintwise for 'Jw_cad' (x)"  # spaces and quotes
    mkdir -p "$case_dir"
    cp "$launcher" "$case_dir/tintwise-wine.sh"
    fake_exe "$case_dir/Tintwise.exe" "$earch"
    home="$tmp/home $count"
    mkdir -p "$home"
    env=(HOME="$home" PATH="$tmp/bin:$PATH" FAKE_WINE_LOG="$tmp/wine.log" FAKE_WINE_RC="$wrc")
    case $parch in
        none) prefix="$home/.wine" ;;  # WINEPREFIX unset and no ~/.wine yet
        *) prefix="$tmp/prefix $count"; fake_prefix "$prefix" "$parch" "$font"; env+=(WINEPREFIX="$prefix") ;;
    esac
    [[ $name == *"fc-list"* ]] && env+=(FAKE_FC_FAMILIES="ＭＳ ゴシック")
    [[ $name == *"WINEDEBUG"* ]] && env+=(WINEDEBUG=+relay)
    rm -f "$tmp/wine.log"
    # From another folder, through a relative path with spaces.
    (cd "$tmp" && env -u WINEPREFIX -u WINEDEBUG "${env[@]}" "./case $count/Tintwise for 'Jw_cad' (x)/tintwise-wine.sh" arg1 "arg 2") \
        >"$tmp/out" 2>"$tmp/err" </dev/null
    rc=$?
    err=$(<"$tmp/err")

    [[ $rc == "$want_rc" ]] || fail "exit code $rc, expected $want_rc; stderr: $err"
    [[ -s $tmp/out ]] && fail "printed on stdout: $(<"$tmp/out")"
    if [[ $want_err == - ]]; then
        [[ -z $err ]] || fail "expected silence, got: $err"
    else
        grep -qE "$want_err" <<<"$err" || fail "stderr lacks /$want_err/: $err"
    fi
    if [[ $want_run == yes ]]; then
        if [[ ! -f $tmp/wine.log ]]; then
            fail "wine did not run"
        else
            mapfile -t log <"$tmp/wine.log"
            exe_args=("$(cd "$case_dir" && pwd)/Tintwise.exe" arg1 "arg 2")
            [[ ${log[*]:0:3} == "${exe_args[*]}" ]] || fail "wine ran with: ${log[*]}"
            [[ ${log[3]} == "WINEPREFIX=$prefix" ]] || fail "wine saw ${log[3]}"
            want_debug=-all
            [[ $name == *"WINEDEBUG"* ]] && want_debug=+relay
            [[ ${log[4]} == "WINEDEBUG=$want_debug" ]] || fail "wine saw ${log[4]}"
        fi
    else
        [[ -f $tmp/wine.log ]] && fail "wine ran: $(tr '\n' ' ' <"$tmp/wine.log")"
    fi
    if [[ $want_err == *ゴシック* ]]; then
        # One line, then the command, which must work as printed.
        mapfile -t lines <<<"$err"
        [[ ${#lines[@]} -eq 2 ]] || fail "expected two lines, got: $err"
        (cd "$tmp" && env "${env[@]}" FAKE_WINE_RC=0 bash -c "${lines[1]-}") || fail "the printed command failed"
        expected=(reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'ＭＳ ゴシック' /d IPAGothic /f "WINEPREFIX=$prefix")
        log=()
        [[ -f $tmp/wine.log ]] && mapfile -t log <"$tmp/wine.log"
        [[ ${log[*]:0:9} == "${expected[*]}" ]] || fail "the printed command ran: ${log[*]}"
    fi
    failures=$((failures + case_failed))
done <<'CASES'
64-bit prefix and exe, font replaced          |win64|win64|replaced|0|0|yes|-
32-bit prefix and exe, font file in prefix     |win32|win32|file    |0|0|yes|-
font installed in the system (fc-list)         |win32|win32|none    |0|0|yes|-
user's WINEDEBUG is kept                       |win64|win64|replaced|0|0|yes|-
Tintwise's exit code comes back                |win64|win64|replaced|3|3|yes|-
wine's own failure comes back                  |win32|win32|replaced|127|127|yes|-
64-bit exe in a 32-bit prefix: not run         |win32|win64|replaced|0|1|no|32-bit Wine prefix.*64-bit Tintwise.exe.*Tintwise-[0-9.]+-win32\.zip
32-bit exe in a 64-bit prefix: runs, with note |win64|win32|replaced|0|0|yes|64-bit Wine prefix.*32-bit.*Tintwise-[0-9.]+-win64\.zip
no replacement for the font                    |win64|win64|none    |0|0|yes|no ＭＳ ゴシック nor a replacement
no prefix yet: Wine's default ~/.wine          |none |win64|none    |0|0|yes|no Wine prefix in .*/\.wine yet
CASES

echo "launcher: $((count - failures)) passed, $failures failed"
[[ $failures -eq 0 ]]
