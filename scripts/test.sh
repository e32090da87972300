#!/usr/bin/env bash
# Installs what is missing, builds Tessel and its tests with AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs every test. Any sanitizer report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSEL_SANITIZE=ON -DTESSEL_TESTS=ON > /dev/null
cmake --build build-test
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export TESSEL_LOG_DIR="$PWD/build-test/log"
ctest --test-dir build-test --output-on-failure -j"$(nproc)"
