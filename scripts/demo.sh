#!/usr/bin/env bash
# Installs what is missing, builds Tessel, and shows what it reads in the sample MIF file.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DTESSEL_TESTS=OFF > /dev/null
cmake --build build
build/app/tessel parse samples/sample.mif
build/app/tessel parse --stats samples/sample.mif
