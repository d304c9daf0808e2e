#!/usr/bin/env bash
# Builds every test with AddressSanitizer and UndefinedBehaviorSanitizer and runs them all.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$root/scripts/setup.sh"
build="$root/build/test"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVRN_SANITIZE=ON \
    -DVRN_TESTS=ON -DVRN_BENCH=ON >/dev/null
cmake --build "$build"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# System libraries' own leaks at exit are not ours to report.
export LSAN_OPTIONS="suppressions=$root/scripts/lsan-suppressions.txt:print_suppressions=0"
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
ctest --test-dir "$build" --output-on-failure -j "$(nproc)" --timeout 300
