#!/bin/sh
# Builds Plovix, installs it into its program folder and starts it.
# The folder is ~/Plovix unless PLOVIX_PREFIX names another. An existing life list
# ("Bird List.mdb") in that folder is kept.
set -eu
cd "$(dirname "$0")/.."
prefix="${PLOVIX_PREFIX:-$HOME/Plovix}"

sh scripts/deps.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
      -DPLOVIX_BUILD_TESTS=OFF -DPLOVIX_BUILD_BENCH=OFF
cmake --build build/release -j"$(nproc)"
cmake --install build/release

echo "Plovix is installed in $prefix"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec "$prefix/Plovix"
else
    echo "No desktop display here: start it later with \"$prefix/Plovix\" or from the application menu."
fi
