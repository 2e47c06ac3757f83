#!/bin/sh
# Builds Plovix's benchmark program (optimised, as the installed program is built) and runs it:
#   sh scripts/bench.sh [--sightings N]... [--runs K] [--json FILE]
set -eu
cd "$(dirname "$0")/.."

sh scripts/deps.sh
cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DPLOVIX_BUILD_TESTS=OFF >/dev/null
cmake --build build/bench -j"$(nproc)" --target plovix-bench
build/bench/bench/plovix-bench "$@"
