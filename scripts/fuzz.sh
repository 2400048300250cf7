#!/usr/bin/env bash
# Builds the libFuzzer target fuzz_files with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs it over a copy of the seed corpus.
#   scripts/fuzz.sh [seconds]      (default 30)
# The build folder is build-fuzz, or $KOPPERI_FUZZ_BUILD_DIR. What the fuzzer
# finds stays in <build>/tests/fuzz/corpus; a crashing input lands in
# <build>/tests/fuzz/artifacts and makes the script fail.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-30}
build=${KOPPERI_FUZZ_BUILD_DIR:-$root/build-fuzz}
case $seconds in
    '' | *[!0-9]*) echo "usage: $0 [seconds]" >&2; exit 2 ;;
esac

cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKOPPERI_WERROR=ON -DKOPPERI_SANITIZE=ON -DKOPPERI_FUZZ=ON -DKOPPERI_FUZZ_SECONDS="$seconds"
cmake --build "$build" --target fuzz_files --parallel "$(nproc)"
ctest --test-dir "$build" --label-regex fuzz --output-on-failure --verbose
