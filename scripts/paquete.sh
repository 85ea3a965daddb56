#!/usr/bin/env bash
# Builds the Debian package of Tobal31 into ./build (or $TOBAL31_BUILD_DIR):
# build/tobal31_VERSION_ARCH.deb, installed with `sudo apt install ./build/tobal31_*.deb`.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
cd "${TOBAL31_BUILD_DIR:-build}"
cpack -G DEB
