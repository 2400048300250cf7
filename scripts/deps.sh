#!/usr/bin/env bash
# Installs what Kopperi needs to build, run and test, from Debian's packages.
# Works as root or through sudo; does nothing when everything is already there.
set -euo pipefail

packages=(cmake g++ make qt6-base-dev libfontconfig-dev libqt6sql6-sqlite qt6-translations-l10n fonts-liberation)
if [ "${KOPPERI_WITH_TEST_TOOLS:-0}" = 1 ]; then
    packages+=(clang libclang-rt-14-dev)
fi
# The Debian package: dpkg-shlibdeps and the tools that check the package.
if [ "${KOPPERI_WITH_PACKAGE_TOOLS:-0}" = 1 ] || [ "${KOPPERI_WITH_TEST_TOOLS:-0}" = 1 ]; then
    packages+=(dpkg-dev file desktop-file-utils appstream lintian)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update
"${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
