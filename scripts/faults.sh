#!/bin/sh
# Builds and runs Plovix's fault suite: every operation that writes the life list killed at
# random moments and at the calls that change files, cut short by power failures, run on a full
# disk and on a read-only file or folder, repairs of lists with damaged pages, then the fuzzed
# readers of hostile input.
#   sh scripts/faults.sh [--kills N] [--every-call] [--power-cut] [--seed S] [--json FILE] ...
#   sh scripts/faults.sh --mutants
# With --mutants it checks the suite itself: a short pass on the unchanged build must pass, then
# each planted bug of bench/faults/mutants is built into a scratch copy of the source and the
# suite run against it must fail. It prints a line per bug and exits 0 only when every one was
# caught. PLOVIX_BUILD names a build folder to use (default build/faults); PLOVIX_FUZZ_RUNS the
# inputs each fuzz target is given.
set -eu
cd "$(dirname "$0")/.."

build="${PLOVIX_BUILD:-build/faults}"
# The pass each planted bug must fail, on a list small enough to end every call quickly.
short="--sightings 300 --every-call --power-cut"

configure() {
    cmake -S "$1" -B "$2" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$2" -j"$(nproc)" --target plovix-faults >/dev/null
}

if [ "${1:-}" != "--mutants" ]; then
    sh scripts/deps.sh
    configure . "$build"
    status=0
    "$build/bench/faults/plovix-faults" "$@" || status=$?
    sh scripts/fuzz.sh ${PLOVIX_FUZZ_RUNS:-} || status=$?
    exit $status
fi

sh scripts/deps.sh patch
started=$(date +%s)
configure . "$build"
status=0
echo "Unchanged build: the short pass ($short --kills 100)..."
# shellcheck disable=SC2086
if "$build/bench/faults/plovix-faults" $short --kills 100 >build/mutants.log 2>&1; then
    echo "passed  unchanged build"
else
    echo "FAILED  unchanged build (build/mutants.log)"
    status=1
fi

# A scratch copy of the source as it stands, built once; each bug is patched in, built, tried
# and taken out again. Only files that differ from the copy are copied over (with a new time),
# so that the scratch build rebuilds them and nothing else.
scratch=build/mutants
rm -rf "$scratch/stage"
mkdir -p "$scratch/stage" "$scratch/src"
git ls-files -co --exclude-standard | tar -cf - -T - | tar -xf - -C "$scratch/stage"
(cd "$scratch/stage" && find . -type f) | while read -r file; do
    if ! cmp -s "$scratch/stage/$file" "$scratch/src/$file"; then
        mkdir -p "$(dirname "$scratch/src/$file")"
        cp "$scratch/stage/$file" "$scratch/src/$file"
    fi
done
configure "$scratch/src" "$scratch/build"
faults="$scratch/build/bench/faults/plovix-faults"
for mutant in bench/faults/mutants/*.patch; do
    name=$(basename "$mutant" .patch)
    operations=$(sed -n 's/^Operations: //p' "$mutant")
    if ! patch -d "$scratch/src" -p1 --forward --quiet <"$mutant"; then
        echo "MISSED  $name: the patch does not apply"
        status=1
        continue
    fi
    log="$scratch/$name.log"
    if ! cmake --build "$scratch/build" -j"$(nproc)" --target plovix-faults >"$log" 2>&1; then
        echo "MISSED  $name: it does not build ($log)"
        status=1
    else
        result=0
        # shellcheck disable=SC2086
        "$faults" $short --kills 20 --damage no --only "$operations" >"$log" 2>&1 || result=$?
        fault=$(sed -n 's/^FAULT: //p' "$log" | head -n 1 | cut -c1-150)
        if [ "$result" -eq 1 ] && [ -n "$fault" ]; then
            echo "caught  $name ($(grep -c '^FAULT: ' "$log") faults; first: $fault)"
        else
            echo "MISSED  $name ($log)"
            status=1
        fi
    fi
    patch -d "$scratch/src" -p1 -R --quiet <"$mutant"
done
echo "Took $(( ($(date +%s) - started) / 60 )) minutes."
exit $status
