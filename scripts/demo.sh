#!/usr/bin/env bash
# Installs what is missing, builds Tessel, and converts the sample MIF file into an InDesign
# document (build/sample.idml), with a JSON dump of what it holds and a PDF preview of its pages
# beside it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DTESSEL_TESTS=OFF > /dev/null
cmake --build build
build/app/tessel convert samples/sample.mif -o build/sample.idml --json build/sample.json --pdf build/sample.pdf
