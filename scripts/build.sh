#!/usr/bin/env bash
# Configures and builds Tobal31 in ./build (or $TOBAL31_BUILD_DIR).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR="${TOBAL31_BUILD_DIR:-build}"
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE="${TOBAL31_BUILD_TYPE:-RelWithDebInfo}" >/dev/null
cmake --build "$BUILD_DIR" -j "$(nproc)" "$@"
