#!/usr/bin/env bash
# Pictures of the screens for a person to look at, never part of the suite:
# builds and runs the picture program (scripts/capturas.cpp) and the screen
# tests with TOBAL31_CAPTURAS naming the folder where every picture they
# take is saved as NAME.png.
# Usage: scripts/capturas.sh [FOLDER]   (after scripts/build.sh; capturas/ by default)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR="${TOBAL31_BUILD_DIR:-build}"
dir="$(realpath -m "${1:-capturas}")"
mkdir -p "$dir"
cmake --build "$BUILD_DIR" --target capturas tests_screens
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}" TOBAL31_CAPTURAS="$dir"
"$BUILD_DIR/tests/capturas" --gtest_brief=1
"$BUILD_DIR/tests/tests_screens" --gtest_also_run_disabled_tests --gtest_brief=1
echo "pictures in $dir: $(ls "$dir" | wc -l)"
