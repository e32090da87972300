#!/usr/bin/env bash
# Installs the Debian packages that Tessel builds and tests with, when any is missing.
set -euo pipefail

# fontconfig and FreeType find the installed fonts; fonts-urw-base35 serves the PostScript base
# fonts that FrameMaker documents are set in (Times, Helvetica, Courier, Symbol, ...);
# fonts-wqy-microhei (5 MB) has the Chinese, Japanese and Korean glyphs that the other fonts lack,
# for the characters the composer and the preview take from another face.
# HarfBuzz shapes text for composition, libunibreak gives the Unicode line-break opportunities,
# libhyphen with the US English patterns hyphenates words.
# cairo draws the page previews (PDF and PNG); gdk-pixbuf decodes the images they show;
# libspectre has Ghostscript draw the EPS pictures they show.
# CLI11 parses the tessel command line.
# GNU parallel runs the tessel batch --list commands on other machines (and its test on this one).
# jing and unzip check packages against InDesign's package schema (when a schema is at hand).
# cpp-httplib serves the page of tessel ui; Chromium (driven by puppeteer-core, from npm, in
# tests/browser) runs its browser test, with Node.js and npm when the machine has none.
packages=(cmake ninja-build g++ clang libclang-rt-14-dev pkg-config python3
          libgtest-dev libgmock-dev libbenchmark-dev
          libfontconfig-dev libfreetype-dev libharfbuzz-dev libunibreak-dev libhyphen-dev hyphen-en-us fonts-dejavu-core fonts-urw-base35 fonts-wqy-microhei
          libzip-dev libpugixml-dev libcli11-dev libcpp-httplib-dev libcairo2-dev libgdk-pixbuf-2.0-dev libspectre-dev jing unzip parallel chromium)

command -v node > /dev/null || packages+=(nodejs)
command -v npm > /dev/null || packages+=(npm)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# The browser test's node modules (puppeteer-core only: it uses the Chromium installed above and
# downloads no browser), as the lock file pins them.
if [ ! -d "$(dirname "$0")/../tests/browser/node_modules/puppeteer-core" ]; then
  (cd "$(dirname "$0")/../tests/browser" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error)
fi
