#!/bin/sh
# Builds Plovix's fuzz targets (bench/fuzz: libFuzzer with AddressSanitizer and
# UndefinedBehaviorSanitizer, clang) and runs each of them for a fixed number of inputs:
#   sh scripts/fuzz.sh [RUNS]          (RUNS inputs a target, 20000 unless given)
# Every run starts from a fresh copy of the seed corpus (bench/fuzz/corpus/<target>) with the
# same random seed, so a run is repeated exactly. Prints one line per target and fails when any
# target crashes, leaks, times out, runs out of memory or hits undefined behaviour; the input
# that did it is kept in build/fuzz/findings/<target>/ and the output in build/fuzz/logs/.
set -eu
cd "$(dirname "$0")/.."

RUNS="${1:-20000}"
case "$RUNS" in
    ''|*[!0-9]*) echo "usage: sh scripts/fuzz.sh [RUNS]" >&2; exit 2 ;;
esac

# clang's runtime holds libFuzzer and the sanitizers.
sh scripts/deps.sh clang libclang-rt-14-dev

BUILD=build/fuzz
cmake -S bench/fuzz -B "$BUILD" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$BUILD" -j"${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"

export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:print_stacktrace=1:symbolize=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:symbolize=1"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$BUILD/logs"

# target, largest input in bytes
TARGETS="
fuzz_image_links 4096
fuzz_search_criteria 4096
fuzz_csv_reader 16384
fuzz_checklist 16384
fuzz_ebird_import 32768
fuzz_zip_entry 16384
fuzz_spreadsheet_import 16384
fuzz_registry_store 8192
fuzz_page_scan 65536
fuzz_metafile 4096
fuzz_report_layout 16384
"

failed=0
start=$(date +%s)
printf '%-26s %8s %6s  %s\n' "target" "inputs" "secs" "result"
echo "$TARGETS" | while read -r target max_len; do
    [ -n "$target" ] || continue
    corpus="$scratch/$target"
    findings="$BUILD/findings/$target"
    log="$BUILD/logs/$target.log"
    cp -R "bench/fuzz/corpus/$target" "$corpus"
    rm -rf "$findings"
    mkdir -p "$findings"
    began=$(date +%s)
    if "$BUILD/$target" -runs="$RUNS" -seed=1 -max_len="$max_len" -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings/" \
        "$corpus" >"$log" 2>&1; then
        result="ok"
    else
        if grep -q "ERROR: libFuzzer: timeout" "$log"; then
            result="TIMEOUT"
        elif grep -q "ERROR: LeakSanitizer" "$log"; then
            result="LEAK"
        elif grep -q "runtime error:" "$log"; then
            result="UNDEFINED BEHAVIOUR"
        elif grep -q "out-of-memory" "$log"; then
            result="OUT OF MEMORY"
        elif grep -q "ERROR: AddressSanitizer" "$log"; then
            result="MEMORY ERROR: $(grep -m1 -o 'AddressSanitizer: [a-z-]*' "$log" | cut -d' ' -f2)"
        elif grep -q "check failed" "$log"; then
            result="CHECK FAILED: $(grep -m1 'check failed' "$log" | sed 's/.*check failed: //')"
        else
            result="CRASH"
        fi
        result="$result (input in $findings, output in $log)"
    fi
    inputs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    [ -n "$inputs" ] || inputs=$(grep -o '^#[0-9]*' "$log" | tail -n 1 | tr -d '#')
    printf '%-26s %8s %6s  %s\n' "$target" "${inputs:-?}" "$(($(date +%s) - began))" "$result"
    case "$result" in ok) ;; *) echo "$target" >>"$scratch/failed" ;; esac
done
[ -f "$scratch/failed" ] && failed=1
echo "All targets in $(($(date +%s) - start)) s, $RUNS inputs each."
exit "$failed"
