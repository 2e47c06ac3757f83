#!/bin/sh
# Builds and runs Plovix's fault suite: every operation that writes the life list killed at
# random moments and at the calls that change files, run on a full disk and on a read-only file
# or folder, repairs of lists with damaged pages, then the fuzzed readers of hostile input.
#   sh scripts/faults.sh [--kills N] [--seed S] [--json FILE]
# PLOVIX_BUILD names a build folder to use (default build/faults); PLOVIX_FUZZ_RUNS the inputs
# each fuzz target is given.
set -eu
cd "$(dirname "$0")/.."

build="${PLOVIX_BUILD:-build/faults}"
sh scripts/deps.sh
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target plovix-faults
status=0
"$build/bench/faults/plovix-faults" "$@" || status=$?
sh scripts/fuzz.sh ${PLOVIX_FUZZ_RUNS:-} || status=$?
exit $status
