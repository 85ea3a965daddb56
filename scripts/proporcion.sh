#!/usr/bin/env bash
# Prints the size of the tests against the code: non-blank lines of every
# file under tests/ (fuzz targets, seed corpus and support included) against
# every file under src/, as a whole and for each area of tests/.
# Usage: scripts/proporcion.sh
set -euo pipefail
cd "$(dirname "$0")/.."
lineas() { find "$@" -type f -print0 | xargs -0 cat | grep -cv '^[[:space:]]*$' || true; }
pruebas=$(lineas tests) codigo=$(lineas src)
for d in tests/*/; do printf '  %-10s %5d\n' "$(basename "$d")" "$(lineas "$d")"; done
awk -v t="$pruebas" -v c="$codigo" 'BEGIN {
  tope = int(c / 3)
  printf "tests/ %d : src/ %d non-blank lines = %.3f; a third is %d: %s\n", t, c, t / c, tope,
    t <= tope ? "within" : (t - tope) " lines over"
}'
