#!/usr/bin/env bash
# Builds Tintwise and its benchmark programs, then prints one table of
# figures: start-up, refresh, repaints, size, imports, memory.
#
#   scripts/bench.sh [bench_driver options, e.g. --rounds 40 --pairs 1000]
#
# Runs in a scratch Wine prefix seeded with 24 colours, on a private Xvfb,
# with one long-lived wineserver; the measuring part (Xvfb, wineserver,
# every Wine process) is pinned to one CPU: TINTWISE_BENCH_CPU, else the
# last one. Other work on the machine disturbs the figures: run it idle.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

scripts/setup.sh
build=$root/build/bench
cmake --preset windows -B "$build" -DTINTWISE_TESTS=OFF >/dev/null
cmake --build "$build" --target bench -j2 >/dev/null

state=$build/wine
mkdir -p "$state"
# shellcheck source=lib/wine-prefix.sh
source scripts/lib/wine-prefix.sh
export WINEPREFIX=$state/prefix WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d'
export LANG=C.UTF-8
unset DISPLAY WAYLAND_DISPLAY LANGUAGE "${!LC_@}"

stop() {
    wine_t 30 wineserver -k >/dev/null 2>&1 || true
    wine_t 30 wineserver -w >/dev/null 2>&1 || true
    stop_xvfb
}
trap stop EXIT
stop
# A new prefix each run: nothing left from an earlier one.
prefix_from_template "$WINEPREFIX"

load() { cut -d' ' -f1-3 /proc/loadavg; }
machine="$(lscpu | sed -n 's/^Model name: *//p' | head -n 1), $(nproc) CPUs, $(awk '/MemTotal/ {printf "%.0f GiB", $2 / 1048576}' /proc/meminfo); $(. /etc/os-release && echo "$PRETTY_NAME"); $(wine --version)"
cpu=${TINTWISE_BENCH_CPU:-$(($(nproc) - 1))}
# Everything started from here on inherits this shell's one CPU.
taskset -cp "$cpu" $$ >/dev/null
start_xvfb
wine_t 30 wineserver -p </dev/null >/dev/null 2>&1 || die "wineserver did not start"
wine_t 60 wine wineboot </dev/null >/dev/null 2>&1 || die "wineboot failed"
wine_t 30 wine rundll32 user32.dll,GetDesktopWindow </dev/null >/dev/null 2>&1 || die "no desktop process"

echo "machine: $machine"
echo "run: $(date -u '+%Y-%m-%d %H:%M UTC'), commit $(git rev-parse --short HEAD 2>/dev/null || echo unknown), pinned to CPU $cpu, load average before: $(load)"
timeout -k 5 1800 wine "$build/bin/bench_driver.exe" "$@" </dev/null
echo "load average after: $(load)"
stop
trap - EXIT

# The long soak, from the test suite: 10,000 refreshes while a thread keeps
# rewriting the registry, with handle and GDI counts at the end. Not pinned.
echo
echo "soak: 10000 refreshes (e2e.soak)"
taskset -cp "0-$(($(nproc) - 1))" $$ >/dev/null
cmake --preset windows >/dev/null
cmake --build --preset windows --target soak_tests -j2 >/dev/null
TINTWISE_SOAK_REFRESHES=10000 ctest --preset windows -R '^e2e\.soak$' --output-on-failure | grep -E 'soak|tests passed|Total Test'

