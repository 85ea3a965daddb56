#!/usr/bin/env bash
# Repeats the concurrent-run tests many times (100 unless given): six
# reductions on different keys at once, an unusable lock file, and scoring
# against a matchday edit.
# Usage: scripts/escritores.sh [TRIALS]   (after scripts/build.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR="${TOBAL31_BUILD_DIR:-build}"
TOBAL31_LIMITE_PRUEBA=0 TOBAL31_ENSAYOS="${1:-100}" "$BUILD_DIR/tests/tests_cli" --gtest_filter='VariosEscritores.*'
