#!/usr/bin/env bash
# Builds Kopperi twice (warnings as errors; then with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs the whole test suite headless on both;
# then runs the file readers under libFuzzer, and builds and checks the Debian
# package.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
KOPPERI_WITH_TEST_TOOLS=1 bash "$root/scripts/deps.sh"
export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

cmake -S "$root" -B "$root/build-test" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOPPERI_WERROR=ON
cmake --build "$root/build-test" --parallel "$jobs"
ctest --test-dir "$root/build-test" --output-on-failure --parallel "$jobs" -LE long

cmake -S "$root" -B "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug -DKOPPERI_WERROR=ON -DKOPPERI_SANITIZE=ON
cmake --build "$root/build-asan" --parallel "$jobs"
ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    ctest --test-dir "$root/build-asan" --output-on-failure --parallel "$jobs" -LE long

# The file readers under libFuzzer, for a bounded time.
bash "$root/scripts/fuzz.sh" 30

# The Debian package: built, its control data and contents listed, the desktop
# entry and the metainfo validated as installed, and no lintian error.
deb=$(bash "$root/scripts/package.sh")
dpkg-deb --info "$deb"
dpkg-deb --contents "$deb"
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
dpkg-deb -x "$deb" "$unpacked"
dpkg-deb --field "$deb" Section | grep -qx games
dpkg-deb --field "$deb" Depends | grep -q libqt6widgets6
dpkg-deb --field "$deb" Depends | grep -q qt6-translations-l10n
dpkg-deb --field "$deb" Depends | grep -q libqt6sql6-sqlite
for f in usr/games/kopperi usr/share/kopperi/lista99.txt usr/share/kopperi/nimet.txt usr/share/kopperi/t1.bmp \
    usr/share/icons/hicolor/64x64/apps/kopperi.png usr/share/doc/kopperi/copyright; do
    [ -f "$unpacked/$f" ] || { echo "the package lacks /$f" >&2; exit 1; }
done
desktop-file-validate "$unpacked"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$unpacked"/usr/share/metainfo/*.metainfo.xml
lintian --fail-on error "$deb"
