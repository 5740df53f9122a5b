#!/usr/bin/env bash
# Installs what is missing, builds every test with AddressSanitizer and UndefinedBehaviorSanitizer
# and runs the whole suite headless.
set -euo pipefail
cd "$(dirname "$0")"
bash tools/deps.sh
cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLUMIO_SANITIZE=ON >/dev/null
cmake --build build/asan
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export LSAN_OPTIONS="suppressions=$PWD/tools/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
ctest --test-dir build/asan --output-on-failure "$@"
