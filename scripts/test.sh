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
# Every package the tests make is validated against InDesign's package schema: the one in the
# team's shared tools folder, unless TESSEL_IDML_SCHEMA_DIR names another. Without it (or jing)
# the run fails here, before any test.
export TESSEL_IDML_SCHEMA_DIR="${TESSEL_IDML_SCHEMA_DIR:-$(cd .. && pwd)/shared/tools/idml/schema}"
if [ ! -f "$TESSEL_IDML_SCHEMA_DIR/designmap.rnc" ]; then
  echo "test.sh: no package schema at $TESSEL_IDML_SCHEMA_DIR (designmap.rnc is missing)" >&2
  exit 1
fi
command -v jing > /dev/null || { echo "test.sh: jing is not installed" >&2; exit 1; }
ctest --test-dir build-test --output-on-failure -j"$(nproc)"
