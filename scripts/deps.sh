#!/bin/sh
# Installs the Debian packages Plovix is built and tested with, as root or through sudo, and any
# further packages named as arguments. Packages already present are not fetched again.
set -eu

PACKAGES="cmake make g++ pkg-config qt6-base-dev libqt6sql6-sqlite libsqlite3-dev zlib1g-dev fonts-liberation2
    qt6-svg-dev qt6-image-formats-plugins libwmf-dev libemf2svg-dev libfontconfig-dev
    qt6-tools-dev qt6-tools-dev-tools $*"

missing=""
for package in $PACKAGES; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    case "$status" in
        *" installed") ;;
        *) missing="$missing $package" ;;
    esac
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    as_root=""
elif command -v sudo >/dev/null 2>&1; then
    as_root="sudo"
else
    echo "Installing$missing needs root: run this as root or install sudo." >&2
    exit 1
fi
echo "Installing:$missing"
$as_root apt-get update -qq
# shellcheck disable=SC2086
DEBIAN_FRONTEND=noninteractive $as_root apt-get install -y --no-install-recommends $missing
