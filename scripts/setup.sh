#!/usr/bin/env bash
# Installs the Debian packages in scripts/packages.txt that are missing.
# Costs only a dpkg query when everything is there.
set -euo pipefail

list=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/packages.txt
mapfile -t wanted < <(sed -e 's/#.*//' -e 's/[[:space:]]//g' "$list" | grep .)

missing=()
for pkg in "${wanted[@]}"; do
    [[ $(dpkg-query -W -f='${db:Status-Status}' "$pkg" 2>/dev/null) == installed ]] ||
        missing+=("$pkg")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
apt=("${sudo[@]}" apt-get -q -o DPkg::Lock::Timeout=300)

echo "setup.sh: installing ${missing[*]}"
# Packages of another architecture (wine32:i386) need it enabled first.
for arch in $(printf '%s\n' "${missing[@]}" | sed -n 's/.*:\([a-z0-9]*\)$/\1/p' | sort -u); do
    [[ $arch == "$(dpkg --print-architecture)" ]] && continue
    dpkg --print-foreign-architectures | grep -qx "$arch" ||
        "${sudo[@]}" dpkg --add-architecture "$arch" || exit 1
done
if ! "${apt[@]}" update || ! "${apt[@]}" install -y --no-install-recommends "${missing[@]}"; then
    echo "setup.sh: could not install: ${missing[*]}" >&2
    exit 1
fi
