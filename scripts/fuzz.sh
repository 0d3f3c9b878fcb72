#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang and runs each for a short while from the seed
# corpus. A crash, a sanitizer report or a reader that breaks its contract ends with a non-zero
# status; the input that did it is left in build-fuzz/ (crash-*, timeout-*, leak-*).
# Uso: fuzz.sh [SECONDI]   (seconds per target, default 20)
set -euo pipefail
cd "$(dirname "$0")/.."
secondi=${1:-20}
jobs=$(nproc)
# -Wshadow=local is a GCC option: clang would warn about it in every file.
cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
      -DCMAKE_CXX_FLAGS=-Wno-unknown-warning-option -DPALIO_FUZZ=ON -DPALIO_GUI=OFF -DPALIO_BENCH=OFF > /dev/null
cmake --build build-fuzz -j"$jobs" --target fuzz_paghe fuzz_770 fuzz_finanziaria
for quale in paghe 770 finanziaria; do
  # New inputs go to a folder of the run: the seed corpus in the tree stays as it is.
  nuovi=$(mktemp -d)
  log=build-fuzz/fuzz_$quale.log
  if ! build-fuzz/fuzz/fuzz_$quale -max_total_time="$secondi" -timeout=10 -rss_limit_mb=2048 \
       -print_final_stats=1 -artifact_prefix=build-fuzz/ "$nuovi" "fuzz/corpus/$quale" > "$log" 2>&1; then
    tail -40 "$log"
    echo "fuzz_$quale: trovato un problema (registro completo in $log)"
    rm -rf "$nuovi"
    exit 1
  fi
  rm -rf "$nuovi"
  echo "fuzz_$quale: $(awk '/^stat::number_of_executed_units/ {print $2}' "$log") prove in $secondi s"
done
