#!/usr/bin/env bash
# Builds the libFuzzer targets in fuzz/ (clang++-14, ASan and UBSan, host)
# and runs each in turn, printing executions and coverage.
#
#   scripts/fuzz.sh [SECONDS]   each target for SECONDS (default 300)
#   scripts/fuzz.sh --smoke     each target for 10 s, for the test run
#
# New inputs go to build/fuzz/corpus/<target>, which starts from the seeds
# in fuzz/corpus/<target> and grows from run to run. A crash leaves its
# input in build/fuzz/artifacts/; the script then exits 1.
# Ends with "fuzz: N passed, N failed".
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.." || exit 1

seconds=300
case ${1:-} in
    --smoke) seconds=10 ;;
    '') ;;
    *[!0-9]* | 0) echo "usage: $0 [SECONDS | --smoke]" >&2; exit 2 ;;
    *) seconds=$1 ;;
esac

# target -> the core sources it needs
declare -A sources=(
    [str_to_int]="src/core/Func_.cpp"
    [registry_value]="src/core/registry_value.cpp src/core/utf.cpp"
)
targets=(str_to_int registry_value)

out=${TINTWISE_FUZZ_BUILD:-build/fuzz}
mkdir -p "$out/artifacts"
cxx=clang++-14
flags=(-std=c++17 -g -O1 -Isrc -fsanitize=fuzzer,address,undefined
       -fno-sanitize-recover=all -fno-omit-frame-pointer)

passed=0 failed=0
for target in "${targets[@]}"; do
    bin=$out/${target}_fuzzer
    read -ra srcs <<<"${sources[$target]}"
    all=("fuzz/${target}_fuzzer.cpp" "${srcs[@]}" src/core/*.h)
    # Rebuilt only when a source is newer than the binary.
    if [[ ! -x $bin || -n $(find "${all[@]}" -newer "$bin" 2>/dev/null) ]]; then
        if ! "$cxx" "${flags[@]}" "fuzz/${target}_fuzzer.cpp" "${srcs[@]}" -o "$bin"; then
            echo "fuzz: $target: build failed"
            failed=$((failed + 1))
            continue
        fi
    fi
    corpus=$out/corpus/$target
    mkdir -p "$corpus"
    log=$out/$target.log
    # -timeout: one input taking longer is a hang, reported like a crash.
    "$bin" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$out/artifacts/$target-" "$corpus" "fuzz/corpus/$target" >"$log" 2>&1
    code=$?
    done_line=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -n 1)
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    cov=$(grep -Eo 'cov: [0-9]+' <<<"$done_line" | grep -Eo '[0-9]+')
    ft=$(grep -Eo 'ft: [0-9]+' <<<"$done_line" | grep -Eo '[0-9]+')
    inputs=$(grep -Eo 'corp: [0-9]+' <<<"$done_line" | grep -Eo '[0-9]+')
    if [[ $code -eq 0 && -n $done_line ]]; then
        echo "fuzz: $target: ${runs:-?} executions in ${seconds} s, cov ${cov:-?}, ft ${ft:-?}, corpus ${inputs:-?} inputs"
        passed=$((passed + 1))
    else
        echo "fuzz: $target: FAILED (exit $code) after ${runs:-?} executions; log $log"
        grep -E '^(==[0-9]+==ERROR|SUMMARY|.*runtime error|ValueFromRegistryData|StrToIntOrZero|artifact_prefix|Test unit written)' "$log" | head -n 20
        failed=$((failed + 1))
    fi
done
echo "fuzz: $passed passed, $failed failed"
[[ $failed -eq 0 ]]
