#!/usr/bin/env bash
# The release zip of a Windows build tree, made by its CPack configuration:
# its name, exactly its four files with their run bits, an exe for the
# tree's architecture that needs only Windows' own DLLs, and the launcher
# with the version filled in.
#   package_test.sh CPACK BUILD_DIR OBJDUMP ZIP_NAME win64|win32 VERSION
set -uo pipefail

[[ $# -eq 6 ]] || { echo "usage: $0 CPACK BUILD_DIR OBJDUMP ZIP_NAME win64|win32 VERSION" >&2; exit 2; }
cpack=$1 build=$2 objdump=$3 zip_name=$4 arch=$5 version=$6
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

if ! "$cpack" --config "$build/CPackConfig.cmake" -G ZIP -B "$tmp" >"$tmp/cpack.log" 2>&1; then
    cat "$tmp/cpack.log"
    echo "FAIL: cpack"
    exit 1
fi
[[ -f $tmp/$zip_name ]] || { echo "FAIL: no $zip_name; cpack made: $(ls "$tmp")"; exit 1; }

# "-rwxr-xr-x  0 0  0  209408 11 Dec 13:42 Tintwise.exe"
listing=$(cd "$tmp" && cmake -E tar tvf "$zip_name") || fail "cannot list $zip_name"
names=$(awk '{ print $NF }' <<<"$listing" | sort | tr '\n' ' ')
[[ $names == "LICENSE README.md Tintwise.exe tintwise-wine.sh " ]] || fail "the zip holds: $names"
for program in Tintwise.exe tintwise-wine.sh; do
    awk -v name="$program" '$NF == name { exit $1 !~ /^-rwx/ }' <<<"$listing" || fail "$program is not executable in the zip"
done

mkdir "$tmp/out"
(cd "$tmp/out" && cmake -E tar xf "../$zip_name") || fail "cannot unpack $zip_name"
exe=$tmp/out/Tintwise.exe

# The PE header's machine field.
read -r b0 b1 b2 b3 < <(od -An -tu1 -j60 -N4 "$exe")
machine=$(od -An -tx1 -j$((b0 | b1 << 8 | b2 << 16 | b3 << 24)) -N6 "$exe" | tr -d ' \n')
case $arch in
    win64) [[ $machine == 504500006486 ]] || fail "Tintwise.exe is not x64: $machine" ;;
    win32) [[ $machine == 504500004c01 ]] || fail "Tintwise.exe is not x86: $machine" ;;
esac

# Windows' own DLLs only: no libstdc++, libgcc, winpthread or UCRT redistributables.
imports=$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: *//p' | tr 'A-Z' 'a-z')
[[ -n $imports ]] || fail "no imports read from Tintwise.exe"
for dll in $imports; do
    case $dll in
        kernel32.dll | user32.dll | gdi32.dll | advapi32.dll | msvcrt.dll | comctl32.dll | \
            shell32.dll | ole32.dll | oleaut32.dll | uxtheme.dll | ntdll.dll | version.dll) ;;
        *) fail "Tintwise.exe imports $dll" ;;
    esac
done

grep -qx "version='$version'" "$tmp/out/tintwise-wine.sh" || fail "the launcher does not carry version $version"

echo "package $zip_name: imports $(echo $imports)"
[[ $failures -eq 0 ]]
