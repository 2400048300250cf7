#!/usr/bin/env bash
# Builds Kopperi twice (warnings as errors; then with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs the whole test suite headless on both.
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
