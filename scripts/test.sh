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
# Packages are validated against InDesign's package schema when get-schema.sh has put one in the
# default cache folder (or TESSEL_IDML_SCHEMA_DIR names one); those tests skip otherwise.
schema_dir="${XDG_CACHE_HOME:-${HOME:-}/.cache}/tessel/idmlschema"
if [ -z "${TESSEL_IDML_SCHEMA_DIR:-}" ] && [ -f "$schema_dir/designmap.rnc" ]; then
  export TESSEL_IDML_SCHEMA_DIR="$schema_dir"
fi
ctest --test-dir build-test --output-on-failure -j"$(nproc)"
