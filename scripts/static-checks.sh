#!/usr/bin/env bash
# Static checks that find bugs: cppcheck over the sources, and clang-tidy
# (.clang-tidy) over every translation unit of the given build trees.
#   scripts/static-checks.sh [BUILD_DIR ...]    default: build/native
# Each build tree needs compile_commands.json (the presets export it).
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.." || exit 1

status=0
sources=(src tests bench fuzz)
existing=()
for dir in "${sources[@]}"; do [[ -d $dir ]] && existing+=("$dir"); done

echo "== cppcheck"
cppcheck --quiet --error-exitcode=1 --inline-suppr --std=c++17 --language=c++ \
    --enable=warning,performance,portability --library=googletest --library=windows \
    --suppress=missingIncludeSystem -I src -DUNICODE -D_WIN64 "${existing[@]}" || status=1

trees=("$@")
[[ ${#trees[@]} -gt 0 ]] || trees=(build/native)
for tree in "${trees[@]}"; do
    echo "== clang-tidy $tree"
    if [[ ! -f $tree/compile_commands.json ]]; then
        echo "static-checks.sh: no compile_commands.json in $tree" >&2
        status=1
        continue
    fi
    # Only our own translation units; GoogleTest's sources are not ours to fix.
    run-clang-tidy -quiet -j 2 -p "$tree" "$(pwd)/($(IFS='|'; echo "${existing[*]}"))/" \
        >"$tree/clang-tidy.log" 2>&1
    if sed 's/\x1b\[[0-9;]*m//g' "$tree/clang-tidy.log" | grep -E '(warning|error): '; then
        status=1
    fi
done
[[ $status -eq 0 ]] && echo "static checks: clean"
exit "$status"
