#!/bin/sh
# The check of an archive of N certificates (default 100000) against generating its file.
# Usage: bench/check/misura.sh BUILD_DIR [N]
set -e
BUILD=${1:?cartella di build}
N=${2:-100000}
DIR=$(mktemp -d)
trap 'rm -rf "$DIR"' EXIT
cmake --build "$BUILD" --target palio_genera_archivio palio_bench_controllo -j2 >/dev/null
"$BUILD/bench/palio_genera_archivio" "$DIR" "$N" >/dev/null
"$BUILD/bench/palio_bench_controllo" "$DIR" 2
