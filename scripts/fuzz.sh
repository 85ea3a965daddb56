#!/usr/bin/env bash
# Builds the parsers' fuzz targets (tests/fuzz) with clang's libFuzzer,
# AddressSanitizer and UBSan into build-fuzz/, and runs each for DURATION
# seconds (default 60), one after the other, starting from the seed corpus
# tests/fuzz/corpus/<target>. Installs clang and its runtime when missing.
# A finding is left in build-fuzz/hallazgos/<target>/ and makes the script
# end with status 1.
#
#   scripts/fuzz.sh 600            # ten minutes each
#   scripts/fuzz.sh 60 columnas    # only fuzz_columnas
set -euo pipefail
cd "$(dirname "$0")/.."
DURATION="${1:-60}"
shift || true

missing=()
for p in clang libclang-rt-14-dev; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then missing+=("$p"); fi
done
if ((${#missing[@]})); then
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

BUILD_DIR="${TOBAL31_FUZZ_BUILD_DIR:-build-fuzz}"
CXX=clang++ cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTOBAL31_FUZZ=ON \
  -DTOBAL31_GUI=OFF -DTOBAL31_TESTS=OFF -DTOBAL31_BENCH=OFF >/dev/null

targets=()
if (($#)); then
  for t in "$@"; do targets+=("fuzz_${t#fuzz_}"); done
else
  for f in tests/fuzz/fuzz_*.cpp; do targets+=("$(basename "$f" .cpp)"); done
fi
cmake --build "$BUILD_DIR" -j "$(nproc)" --target "${targets[@]}"

status=0
for t in "${targets[@]}"; do
  name="${t#fuzz_}"
  corpus="$BUILD_DIR/corpus/$name"
  hallazgos="$BUILD_DIR/hallazgos/$name"
  mkdir -p "$corpus" "$hallazgos"
  cp -n tests/fuzz/corpus/"$name"/* "$corpus"/ 2>/dev/null || true
  echo "== $t: ${DURATION} s"
  if ! "$BUILD_DIR/tests/fuzz/$t" -max_total_time="$DURATION" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$hallazgos/" "$corpus" 2>"$BUILD_DIR/$t.log"; then
    echo "   finding: see $hallazgos/ and $BUILD_DIR/$t.log"
    status=1
  fi
  grep -E "stat::number_of_executed_units|cov:" "$BUILD_DIR/$t.log" | tail -2 || true
done
exit $status
