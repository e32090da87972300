#!/usr/bin/env bash
# Builds an optimised Tessel and runs the benchmarks: parsing, and whole conversions of generated
# documents of 1,000 to 100,000 pages, composition, the page preview (pages per second) and
# fitting balanced frames. The arguments go to every benchmark program (e.g.
# --benchmark_filter=Convert).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTESSEL_TESTS=OFF -DTESSEL_BENCH=ON > /dev/null
cmake --build build-bench --target bench_parser bench_convert bench_compose bench_preview bench_fit bench_batch bench_tables mifgen
for bench in bench_parser bench_convert bench_compose bench_preview bench_fit bench_batch bench_tables; do
    TESSEL_LOG_DIR="$PWD/build-bench/log" build-bench/bench/$bench "$@"
done
