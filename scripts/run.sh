#!/usr/bin/env bash
# Sets up what is missing, builds, and starts the desktop program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
BUILD_DIR="${TOBAL31_BUILD_DIR:-build}"
if [ -x "$BUILD_DIR/tobal31" ]; then
  PROGRAM=("$BUILD_DIR/tobal31")
else
  PROGRAM=("$BUILD_DIR/tobal31-cli" --help)
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -x "$BUILD_DIR/tobal31" ]; then
  exec xvfb-run -a "${PROGRAM[@]}" "$@"
fi
exec "${PROGRAM[@]}" "$@"
