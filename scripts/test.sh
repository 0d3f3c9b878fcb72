#!/usr/bin/env bash
# Installs the packages it needs, builds everything with warnings as errors and runs every test;
# then the core tests again under AddressSanitizer and UndefinedBehaviorSanitizer. Each run has a
# throw-away PostgreSQL server of its own (scripts/postgres-prova.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
# On a fresh machine the tests need what the program needs: the same packages as the set-up.
bash scripts/dipendenze.sh
jobs=$(nproc)
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPALIO_WERROR=ON -DPALIO_BENCH=ON > /dev/null
cmake --build build-test -j"$jobs"
# The archive tests run on both engines: the server ones against a throw-away PostgreSQL server.
bash scripts/postgres-prova.sh env QT_QPA_PLATFORM=offscreen ctest --test-dir build-test --output-on-failure -j"$jobs"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DPALIO_GUI=OFF -DPALIO_BENCH=OFF -DPALIO_SANITIZE=ON -DPALIO_WERROR=ON > /dev/null
cmake --build build-asan -j"$jobs"
bash scripts/postgres-prova.sh ctest --test-dir build-asan --output-on-failure -j"$jobs"
