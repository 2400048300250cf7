#!/usr/bin/env bash
# Builds the Debian package of Kopperi (Release, in build-package/) with CPack
# and prints its path:  bash scripts/package.sh
# The program goes to /usr/games, its data to /usr/share/kopperi; the
# dependencies are computed from the binary (dpkg-shlibdeps). Install it with
#   sudo apt-get install ./build-package/kopperi_*.deb
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-package"
KOPPERI_WITH_PACKAGE_TOOLS=1 bash "$root/scripts/deps.sh"

# Debian's hardening flags, all of them (bindnow included).
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DCMAKE_INSTALL_BINDIR=games -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
    -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" >/dev/null
cmake --build "$build" --parallel "$(nproc)" --target kopperi kopperi_desktop_docs >/dev/null
rm -f "$build"/kopperi_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
ls "$build"/kopperi_*.deb
