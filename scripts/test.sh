#!/usr/bin/env bash
# Builds and tests every preset: the host build with sanitizers, then the
# Windows builds (x64, x86, x64 with clang), under Wine off Windows. Ends
# with one combined count.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.." || exit 1

scripts/setup.sh || exit 1

status=0 passed=0 failed=0 skipped=0
log=$(mktemp)
trap 'rm -f "$log"' EXIT
for preset in native windows windows-x86 windows-clang; do
    echo "== $preset"
    if ! cmake --preset "$preset" || ! cmake --build --preset "$preset" -j2; then
        echo "test.sh: $preset build failed" >&2
        status=1
        continue
    fi
    ctest --preset "$preset" 2>&1 | tee "$log"
    [[ ${PIPESTATUS[0]} -eq 0 ]] || status=1
    # "75% tests passed, 1 tests failed out of 4": skipped tests are in the
    # 4, disabled ones are not; both are listed as "(Skipped)"/"(Disabled)".
    if summary=$(grep -Eo '[0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1); then
        read -r f _ _ _ _ t <<<"$summary"
        s=$(grep -cE '^\s+[0-9]+ - .* \(Skipped\)$' "$log")
        d=$(grep -cE '^\s+[0-9]+ - .* \(Disabled\)$' "$log")
        failed=$((failed + f)) passed=$((passed + t - f - s)) skipped=$((skipped + s + d))
    fi
done

# Each libFuzzer target briefly: a regression in the core's parsing fails here.
echo "== fuzz"
scripts/fuzz.sh --smoke 2>&1 | tee "$log"
[[ ${PIPESTATUS[0]} -eq 0 ]] || status=1
if summary=$(grep -Eo '^fuzz: [0-9]+ passed, [0-9]+ failed' "$log" | tail -n 1); then
    read -r _ p _ f _ <<<"$summary"
    passed=$((passed + p)) failed=$((failed + f))
else
    failed=$((failed + 1)) status=1
fi

echo "== static checks"
if scripts/static-checks.sh build/native build/windows-clang; then
    passed=$((passed + 1))
else
    failed=$((failed + 1)) status=1
fi
echo "$passed passed, $failed failed, $skipped skipped"
exit "$status"
