#!/bin/sh
# Builds Plovix with its tests and runs the whole test suite (headless, Qt's offscreen platform).
# PLOVIX_WARNINGS_AS_ERRORS=ON makes any compiler warning fail the build.
set -eu
cd "$(dirname "$0")/.."

sh scripts/deps.sh
cmake -S . -B build/tests -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DPLOVIX_WARNINGS_AS_ERRORS="${PLOVIX_WARNINGS_AS_ERRORS:-OFF}"
cmake --build build/tests -j"$(nproc)"
ctest --test-dir build/tests --output-on-failure -j"$(nproc)"
