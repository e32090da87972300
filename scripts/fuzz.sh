#!/usr/bin/env bash
# Builds fuzz targets with clang and runs each for a while (default 300 s): fuzz_parser by
# default; fuzz_import runs whole imports, fuzz_prefs reads preferences files, fuzz_prefs_files
# the preset and font table CSV files of the preferences dialog, fuzz_image the preview's image
# decoder, fuzz_ui_request the checks of tessel ui's server (the guard's headers, paths below its
# folder, a worker's reports); "all" runs the six one after the other (CI runs `fuzz.sh 60 all`).
# The MIF targets start from the corpus, the samples and the test data with the dictionary of
# MIF keywords; fuzz_prefs starts from real preferences files (written by make_prefs_seeds) with a
# dictionary of their magic numbers and fields; fuzz_prefs_files from the files the dialog writes
# (make_prefs_files_seeds) with a dictionary of their magic numbers and separators; fuzz_image
# from small images of each format it reads, behind the byte that picks the format. Crashing
# inputs land in build-fuzz/crashes/; each one becomes a regression test. The run fails when a
# target finds one.
#
# Inputs are cut at 64 KiB for short runs; runs of an hour or more take inputs up to 2 MiB, so
# that the parser's limits (10,000 reported problems, 256 levels of nesting) and the longest
# corpus file are reached whole. FUZZ_MAX_LEN sets the limit by hand. The random seed is fixed
# (FUZZ_SEED, default 1), so that a run repeats what an earlier one of the same length did.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-300}
shift || true
targets=("${@:-fuzz_parser}")
[ "${targets[0]}" = all ] && targets=(fuzz_parser fuzz_import fuzz_prefs fuzz_prefs_files fuzz_image fuzz_ui_request)
if [ "$seconds" -ge 3600 ]; then default_len=2097152; else default_len=65536; fi
max_len=${FUZZ_MAX_LEN:-$default_len}
scripts/install-deps.sh
CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTESSEL_FUZZ=ON \
  -DTESSEL_SANITIZE=ON -DTESSEL_TESTS=ON > /dev/null
cmake --build build-fuzz --target "${targets[@]}" make_prefs_seeds make_prefs_files_seeds
export TESSEL_LOG_DIR="$PWD/build-fuzz/log"
mkdir -p build-fuzz/crashes
for target in "${targets[@]}"; do
  seeds="build-fuzz/seeds-$target"
  mkdir -p "$seeds" "build-fuzz/corpus-$target"
  case "$target" in
    fuzz_prefs)
      TESSEL_CONFIG_DIR="$PWD/build-fuzz/seed-config" build-fuzz/tests/fuzz/make_prefs_seeds "$seeds"
      dict=tests/fuzz/prefs.dict ;;
    fuzz_prefs_files)
      build-fuzz/tests/fuzz/make_prefs_files_seeds "$seeds"
      dict=tests/fuzz/prefs_files.dict ;;
    fuzz_image)
      python3 scripts/image-seeds.py "$seeds"
      dict="" ;;
    fuzz_ui_request)
      printf '127.0.0.1:8123\nhttp://127.0.0.1:8123\ntessel-token=0123456789abcdef0123456789abcdef\n\nsub/a.mif\n' > "$seeds/good"
      printf 'localhost:8123\n\na=1; tessel-token=x\n0123\n../up/root/sub\nThere were errors when parsing the MIF:\nLine 1: x\ntessel-progress\t0.5\tT\tX\n' > "$seeds/bad"
      dict="" ;;
    *)
      cp samples/*.mif tests/data/*.mif ../shared/corpus/*/*.mif ../shared/corpus/generated/*/*.mif "$seeds"/ 2>/dev/null || true
      dict=tests/fuzz/mif.dict ;;
  esac
  echo "fuzz.sh: $target for $seconds s"
  build-fuzz/tests/fuzz/"$target" -max_total_time="$seconds" -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 \
    -seed="${FUZZ_SEED:-1}" -print_final_stats=1 ${dict:+-dict="$dict"} -artifact_prefix=build-fuzz/crashes/ \
    "build-fuzz/corpus-$target" "$seeds"
done
