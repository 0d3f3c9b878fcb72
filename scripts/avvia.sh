#!/usr/bin/env bash
# Sets up and starts Palio 2015: installs what the build needs, builds, and, when no archive is
# configured yet, creates the example archive ~/RAVO/Zefo2015/Esempio and configures it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/dipendenze.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DPALIO_BENCH=OFF > /dev/null
cmake --build build -j"$(nproc)" --target palio2015 palio2015-cli
ini="${XDG_CONFIG_HOME:-$HOME/.config}/ravo/zefo2015.ini"
if [ ! -f "$ini" ]; then
  esempio="$HOME/RAVO/Zefo2015/Esempio"
  if [ ! -f "$esempio/Zefo2015.db" ]; then
    ./build/palio2015-cli crea-archivio "$esempio"
    sqlite3 "$esempio/Zefo2015.db" < examples/archivio-esempio.sql
  fi
  mkdir -p "$(dirname "$ini")"
  printf '%s\n' "$esempio" > "$ini"
  echo "Archivio di esempio configurato: $esempio"
fi
exec ./build/palio2015 "$@"
