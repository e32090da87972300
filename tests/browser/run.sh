#!/bin/sh
# Runs the browser test of tessel ui in headless Chromium:
#   tests/browser/run.sh TESSEL_BINARY SCREENSHOT_DIR
# Installs the test's node modules (puppeteer-core, which uses the system's Chromium) on first use.
set -eu
if [ $# -ne 2 ]; then
    echo "usage: $0 TESSEL_BINARY SCREENSHOT_DIR" >&2
    exit 2
fi
here=$(cd "$(dirname "$0")" && pwd)
binary=$(realpath "$1")
mkdir -p "$2"
shots=$(cd "$2" && pwd)
cd "$here"
if [ ! -d node_modules ]; then
    npm ci --no-audit --no-fund --loglevel=error
fi
exec node ui-test.mjs "$binary" "$shots"
